#!/usr/bin/env python3
"""The demo's sample library: a few dozen small tagged tracks, months of listening, a session.

    make_sample_library.py FOLDER [NOW]

Writes into FOLDER:
  music/*.mp3     36 tracks of six made-up artists: an ID3v2.3 tag (title, artist, album,
                  track, year) before a second of silent MPEG audio frames
  schedule.txt    about five months of plays before NOW (default: the current time), one
                  "UNIXTIME PATH" line per play, oldest first; tastes change over the months
  session.m3u     a dozen tracks for the player to play now, with #EXTINF lengths (paths
                  relative to FOLDER, in the player's notation)

Everything is generated from a fixed seed: the same NOW gives the same files.
"""
import os
import random
import struct
import sys
import time

# Names are lowercase: the plug-in stores names as its lookups leave them, lowercased.
LIBRARY = [
    ("harbor lights", "salt & static", 2019,
     ["low tide radio", "paper lanterns", "northbound", "the long weekend", "glass harbor",
      "slow burn"]),
    ("mira castell", "quiet engines", 2021,
     ["copper sky", "late bloom", "satellite hearts", "undertow", "marigold", "small hours"]),
    ("the velvet orchard", "sunday machines", 2022,
     ["honey static", "kite season", "orchard lane", "velvet hour", "daydream motel",
      "lemonade sun"]),
    ("juniper vale", "wide open rooms", 2020,
     ["cartographer", "fog lines", "open rooms", "ember", "westward", "lantern song"]),
    ("night transit", "blue hour express", 2024,
     ["midnight platform", "neon rain", "last train home", "signal lost", "city sleeper",
      "afterglow"]),
    ("ada lindqvist", "winter letters", 2018,
     ["first snow", "letters home", "pine & silver", "frost fair", "candlelight waltz",
      "snowbound"]),
]

DAYS = 150
DAY = 86400


def text_frame(frame_id, text):
    body = b"\x00" + text.encode("latin-1")
    return frame_id.encode() + struct.pack(">I", len(body)) + b"\x00\x00" + body


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def id3v2(title, artist, album, track, year):
    frames = b"".join([
        text_frame("TIT2", title), text_frame("TPE1", artist), text_frame("TALB", album),
        text_frame("TRCK", str(track)), text_frame("TYER", str(year))])
    return b"ID3\x03\x00\x00" + syncsafe(len(frames)) + frames


# MPEG-1 layer III, 128 kbit/s, 44.1 kHz: 417-byte frames; zero side information is silence.
SILENT_FRAME = b"\xff\xfb\x90\x00" + b"\x00" * 413


def file_name(artist, title):
    return ("%s - %s.mp3" % (artist, title)).replace("&", "and")


def write_tracks(music):
    os.makedirs(music, exist_ok=True)
    tracks = []
    for artist, album, year, titles in LIBRARY:
        for number, title in enumerate(titles, 1):
            path = os.path.join(music, file_name(artist, title))
            with open(path, "wb") as f:
                f.write(id3v2(title, artist, album, number, year))
                f.write(SILENT_FRAME * 38)
            tracks.append((artist, title, path))
    return tracks


def artist_weight(artist, days_ago):
    """How much each artist is played `days_ago` days before now."""
    if artist == "harbor lights":
        return 5.0
    if artist == "mira castell":  # a spring favourite, fading since
        return 7.0 if 50 < days_ago < 110 else 1.5
    if artist == "the velvet orchard":  # discovered lately, on the rise
        return max(0.3, 9.0 - days_ago / 6.0)
    if artist == "juniper vale":
        return 3.0
    if artist == "night transit":  # a new album, out 45 days ago
        return 0.0 if days_ago > 45 else 6.0 + (45 - days_ago) / 8.0
    return 6.0 if days_ago > 100 else 0.6  # ada lindqvist: the winter record


def schedule(tracks, now, rng):
    # Each track has a taste of its own: a few favourites, some rarely played.
    taste = {path: rng.choice([0.3, 0.6, 1.0, 1.0, 1.6, 2.8]) for _a, _t, path in tracks}
    plays = []
    for days_ago in range(DAYS, 0, -1):
        weights = [artist_weight(a, days_ago) * taste[p] for a, _t, p in tracks]
        start = now - days_ago * DAY
        for _ in range(rng.randint(2, 8)):
            at = start + rng.randint(8 * 3600, 23 * 3600)
            if at < now - 4 * 3600:
                plays.append((at, rng.choices(tracks, weights)[0][2]))
    plays.sort()
    return plays


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    now = int(sys.argv[2]) if len(sys.argv) > 2 else int(time.time())
    rng = random.Random(2024)
    tracks = write_tracks(os.path.join(folder, "music"))
    plays = schedule(tracks, now, rng)
    with open(os.path.join(folder, "schedule.txt"), "w") as f:
        for at, path in plays:
            f.write("%d %s\n" % (at, path))
    # Tonight's session: the rising records and a few old favourites.
    by_title = {t: p for _a, t, p in tracks}
    session = ["honey static", "midnight platform", "kite season", "neon rain", "low tide radio",
               "velvet hour", "last train home", "orchard lane", "afterglow", "daydream motel",
               "honey static", "midnight platform"]
    with open(os.path.join(folder, "session.m3u"), "w") as f:
        f.write("#EXTM3U\n")
        for title in session:
            f.write("#EXTINF:%d,%s\nmusic\\%s\n" % (rng.randint(95, 150), title,
                                                    os.path.basename(by_title[title])))
    print("%d tracks, %d plays over %d days" % (len(tracks), len(plays), DAYS))


if __name__ == "__main__":
    main()
