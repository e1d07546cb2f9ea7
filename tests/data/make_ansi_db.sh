#!/usr/bin/env bash
# Makes tests/data/ansi_db/: a database as the tool stored it before texts became UTF-8 (names
# in Windows-1252), and a settings file with Windows-1252 texts. Usage:
#   tests/data/make_ansi_db.sh OLD_SPINOX
# where OLD_SPINOX is the `spinox` tool built natively from commit 3d02997
# (git worktree add /tmp/old 3d02997 && cmake -S /tmp/old -B /tmp/old/build && ninja -C
# /tmp/old/build spinox). Needs python3.
set -euo pipefail
export LANG=C.UTF-8 LC_ALL=C.UTF-8
old="$(realpath "$1")"
out="$(cd "$(dirname "$0")" && pwd)/ansi_db"
music=/tmp/spinox-ansi-fixture/Music
rm -rf /tmp/spinox-ansi-fixture "$out"
mkdir -p "$music" "$out"

track() {  # FILE TITLE ARTIST ALBUM: an ID3v2.4 tag (UTF-8 frames) before silence
  python3 - "$@" <<'PY'
import sys
def frame(fid, text):
    body = b"\x03" + text.encode("utf-8")
    n = len(body)
    size = bytes([(n >> 21) & 127, (n >> 14) & 127, (n >> 7) & 127, n & 127])
    return fid + size + b"\0\0" + body
path, title, artist, album = sys.argv[1:5]
frames = frame(b"TIT2", title) + frame(b"TPE1", artist) + frame(b"TALB", album)
n = len(frames)
head = b"ID3\x04\0\0" + bytes([(n >> 21) & 127, (n >> 14) & 127, (n >> 7) & 127, n & 127])
open(path, "wb").write(head + frames + bytes(512))
PY
}
track "$music/1.mp3" "Jóga" "Björk" "Homogenic"
track "$music/2.mp3" "Eres" "Café Tacvba" "Cuatro Caminos"
track "$music/3.mp3" "Largo" "Antonín Dvořák" "Symfonie č. 9"
track "$music/4.mp3" "Hoppípolla" "Sigur Rós" "Takk…"
track "$music/5.mp3" "Ééééééééééééééééééééééééééééééééééééééééééééééééé" "Motörhead" "€uro – Ünïcödé"
track "$music/6.mp3" "Plain ASCII" "Queen" "The Works"

t=1700000000
for n in 1 2 3 1 4 5 6 1 3; do
  "$old" play --db "$out" --at "@$t" "$music/$n.mp3" >/dev/null
  t=$((t + 600))
done

python3 - "$out/gen_spinox.dat" <<'PY'
import struct, sys
b = bytearray(3766)
b[0:4] = b"SPX\0"
struct.pack_into("<i", b, 4, 151)
struct.pack_into("<4i", b, 8, 100, 100, 500, 400)
struct.pack_into("<4i", b, 24, 505, 100, 900, 350)
def text(off, width, s):
    e = s.encode("cp1252")
    b[off:off + len(e)] = e
text(96, 250, r"C:\Users\Zoë\Mes documents\hitliste.html")
text(2604, 250, "Meine Lieblingslieder – Übersicht")
text(2878, 250, "Trebuchet MS")
text(3128, 250, "Segoe UI Ä")
text(3438, 200, "%title (%hits)\n%artist – «%album»")
text(3650, 50, "Franklin Gothic Médium")
text(3712, 25, "%d.%m.%Y")
text(3737, 25, "%Hh%M’")
struct.pack_into("<7i", b, 3410, 1, 1, 60, 0, 30, 0, 1)
struct.pack_into("<3i", b, 3638, 10, 50, 0x00323232)
struct.pack_into("<3i", b, 3700, 1, 50, 100)
open(sys.argv[1], "wb").write(b)
PY
rm -f "$out/gen_spinox.lck"
rm -rf /tmp/spinox-ansi-fixture
ls -l "$out"
