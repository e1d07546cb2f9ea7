#!/usr/bin/env python3
"""Writes three small tracks with ID3v1 tags and a playlist demo.m3u that plays them.

usage: make_demo_tracks.py FOLDER SECONDS ROUNDS
Each track is 512 bytes of filler and a tag; the playlist gives each SECONDS of length and
plays the three ROUNDS times.
"""
import sys

TRACKS = [("Alpha", "Demo Band", "First"), ("Beta", "Demo Band", "First"),
          ("Gamma", "Other", "Second")]


def main():
    folder, seconds, rounds = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    with open(folder + "/demo.m3u", "w") as m3u:
        m3u.write("#EXTM3U\n")
        for i, (title, artist, album) in enumerate(TRACKS):
            tag = b"TAG" + b"".join(s.encode().ljust(30, b"\0") for s in (title, artist, album))
            tag = tag + b"2024" + b"\0" * 30 + b"\xff"
            with open("%s/%d.mp3" % (folder, i), "wb") as f:
                f.write(b"\x55" * 512 + tag)
        for _ in range(rounds):
            for i, (title, artist, _album) in enumerate(TRACKS):
                m3u.write("#EXTINF:%d,%s - %s\n%d.mp3\n" % (seconds, artist, title, i))


if __name__ == "__main__":
    main()
