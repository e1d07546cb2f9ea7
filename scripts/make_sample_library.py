#!/usr/bin/env python3
"""The demo's sample library: a few dozen small tagged tracks, months of listening, a session.

    make_sample_library.py FOLDER [NOW]

Writes into FOLDER:
  music/ARTIST/TITLE.mp3   46 tracks: six made-up artists of six tracks each, and ten tracks
                  named in other scripts (Japanese, Chinese, Korean, Czech, Cyrillic, Greek,
                  Arabic, Polish, emoji), their folders and files named as they are: an ID3v2.3
                  tag (title, artist, album, track, year; Latin-1 where it can hold the text,
                  else UTF-16) before a second of silent MPEG audio frames
  schedule.txt    about five months of plays before NOW (default: the current time), one
                  "UNIXTIME PATH" line per play in UTF-8, oldest first; tastes change over the
                  months
  session.m3u8    a dozen tracks for the player to play now, with #EXTINF lengths (paths
                  relative to FOLDER, in the player's notation), in UTF-8

Everything is generated from a fixed seed: the same NOW gives the same files.
"""
import os
import random
import struct
import sys
import time

# Names keep the case of their tags.
LIBRARY = [
    ("Harbor Lights", "Salt & Static", 2019,
     ["Low Tide Radio", "Paper Lanterns", "Northbound", "The Long Weekend", "Glass Harbor",
      "Slow Burn"]),
    ("Mira Castell", "Quiet Engines", 2021,
     ["Copper Sky", "Late Bloom", "Satellite Hearts", "Undertow", "Marigold", "Small Hours"]),
    ("The Velvet Orchard", "Sunday Machines", 2022,
     ["Honey Static", "Kite Season", "Orchard Lane", "Velvet Hour", "Daydream Motel",
      "Lemonade Sun"]),
    ("Juniper Vale", "Wide Open Rooms", 2020,
     ["Cartographer", "Fog Lines", "Open Rooms", "Ember", "Westward", "Lantern Song"]),
    ("Night Transit", "Blue Hour Express", 2024,
     ["Midnight Platform", "Neon Rain", "Last Train Home", "Signal Lost", "City Sleeper",
      "Afterglow"]),
    ("Ada Lindqvist", "Winter Letters", 2018,
     ["First Snow", "Letters Home", "Pine & Silver", "Frost Fair", "Candlelight Waltz",
      "Snowbound"]),
    # Names in other scripts: a record each, played now and then all along.
    ("東京事変", "教育", 2004, ["群青日和"]),
    ("椎名林檎", "無罪モラトリアム", 1999, ["丸の内線"]),
    ("Antonín Dvořák", "Symfonie č. 9", 1893, ["Largo"]),
    ("Группа крови", "Группа крови", 1988, ["Кино"]),
    ("Μίκης Θεοδωράκης", "Ζορμπάς", 1964, ["Ελλάδα"]),
    ("방탄소년단", "You Never Walk Alone", 2017, ["봄날"]),
    ("邓丽君", "淡淡幽情", 1983, ["月亮代表我的心"]),
    ("فيروز", "فيروزيات", 1960, ["أنا لحبيبي"]),
    ("Żółć Łąka", "Wiśnie", 2021, ["Dziewczyna"]),
    ("😀 Band", "🌍", 2023, ["🎵 Emoji"]),
]

DAYS = 150
DAY = 86400


def text_frame(frame_id, text):
    try:
        body = b"\x00" + text.encode("latin-1")
    except UnicodeEncodeError:  # UTF-16 with a byte order mark
        body = b"\x01" + text.encode("utf-16")
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


def file_name(name):
    return name.replace("&", "and")


def write_tracks(music):
    tracks = []
    for artist, album, year, titles in LIBRARY:
        folder = os.path.join(music, file_name(artist))
        os.makedirs(folder, exist_ok=True)
        for number, title in enumerate(titles, 1):
            path = os.path.join(folder, file_name(title) + ".mp3")
            with open(path, "wb") as f:
                f.write(id3v2(title, artist, album, number, year))
                f.write(SILENT_FRAME * 38)
            tracks.append((artist, title, path))
    return tracks


def artist_weight(artist, days_ago):
    """How much each artist is played `days_ago` days before now."""
    if artist == "Harbor Lights":
        return 5.0
    if artist == "Mira Castell":  # a spring favourite, fading since
        return 7.0 if 50 < days_ago < 110 else 1.5
    if artist == "The Velvet Orchard":  # discovered lately, on the rise
        return max(0.3, 9.0 - days_ago / 6.0)
    if artist == "Juniper Vale":
        return 3.0
    if artist == "Night Transit":  # a new album, out 45 days ago
        return 0.0 if days_ago > 45 else 6.0 + (45 - days_ago) / 8.0
    if artist == "Ada Lindqvist":  # the winter record
        return 6.0 if days_ago > 100 else 0.6
    return 2.0  # one record each: a steady few plays


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
    music = os.path.join(folder, "music")
    tracks = write_tracks(music)
    plays = schedule(tracks, now, rng)
    with open(os.path.join(folder, "schedule.txt"), "w", encoding="utf-8") as f:
        for at, path in plays:
            f.write("%d %s\n" % (at, path))
    # Tonight's session: the rising records, a few old favourites and names in other scripts.
    by_title = {t: p for _a, t, p in tracks}
    session = ["Honey Static", "群青日和", "Midnight Platform", "Kite Season", "봄날", "Neon Rain",
               "Low Tide Radio", "Кино", "Velvet Hour", "Afterglow", "Honey Static",
               "Midnight Platform"]
    with open(os.path.join(folder, "session.m3u8"), "w", encoding="utf-8") as f:
        f.write("#EXTM3U\n")
        for title in session:
            relative = os.path.relpath(by_title[title], folder).replace(os.sep, "\\")
            f.write("#EXTINF:%d,%s\n%s\n" % (rng.randint(95, 150), title, relative))
    print("%d tracks, %d plays over %d days" % (len(tracks), len(plays), DAYS))


if __name__ == "__main__":
    main()
