#!/usr/bin/env python3
"""Writes three small tracks with ID3v2.4 tags (UTF-8) and a playlist demo.m3u that plays them.

usage: make_demo_tracks.py FOLDER SECONDS ROUNDS
Each track is a tag and 512 bytes of filler; the playlist gives each SECONDS of length and
plays the three ROUNDS times. The second track's names are Japanese, so the display and the
page show a script the ANSI code page cannot hold; the file names are ASCII, so an older
player that names files in the ANSI code page plays them too.
"""
import sys

TRACKS = [("Alpha", "Demo Band", "First"), ("群青日和", "東京事変", "教育"),
          ("Gamma", "Other", "Second")]


def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def id3v24(title, artist, album):
    frames = b""
    for frame_id, text in (("TIT2", title), ("TPE1", artist), ("TALB", album)):
        body = b"\x03" + text.encode("utf-8")
        frames += frame_id.encode() + synchsafe(len(body)) + b"\0\0" + body
    return b"ID3\x04\x00\x00" + synchsafe(len(frames)) + frames


def main():
    folder, seconds, rounds = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    # The lines other than the #EXTINF texts are ASCII; those are written as the player reads an
    # .m3u, in the ANSI code page (Windows-1252 here), with '?' for what it cannot hold.
    with open(folder + "/demo.m3u", "w", encoding="cp1252", errors="replace") as m3u:
        m3u.write("#EXTM3U\n")
        for i, (title, artist, album) in enumerate(TRACKS):
            with open("%s/%d.mp3" % (folder, i), "wb") as f:
                f.write(id3v24(title, artist, album) + b"\x55" * 512)
        for _ in range(rounds):
            for i, (title, artist, _album) in enumerate(TRACKS):
                m3u.write("#EXTINF:%d,%s - %s\n%d.mp3\n" % (seconds, artist, title, i))


if __name__ == "__main__":
    main()
