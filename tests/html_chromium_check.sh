#!/usr/bin/env bash
# Renders pages written by `spinox html` in headless Chromium: the page renders with its
# table, and texts holding <script> (a song title from a tag, the filter value, the user's page
# title) show as text and never become script elements, and names outside ASCII show as they are
# (the page's charset is the one its text is in).
# Usage: tests/html_chromium_check.sh BUILD_DIR   (BUILD_DIR holds the spinox tool)
set -euo pipefail
build=${1:-build/asan}
spinox=$(cd "$build" && pwd)/spinox
chromium=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$chromium" ]; then
  echo "chromium not installed (apt-get install chromium); check skipped"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A track whose ID3v1 tag holds markup, and one without tags.
id3v1() {  # title artist album
  head -c 400 /dev/zero
  printf 'TAG%-30s%-30s%-30s%-4s%-30s\377' "$1" "$2" "$3" 2024 ""
}
mkdir -p "$work/db"
id3v1 '<script>alert(1)</script>' 'Tom & Jerry <i>' '<script>alert(2)</script>' > "$work/evil.mp3"
head -c 400 /dev/zero > "$work/plain.mp3"
id3v1 $'J\xf3ga' $'Bj\xf6rk' 'Homogenic' > "$work/bjork.mp3"  # Windows-1252, as taggers write it
for at in 1000 2000 3000; do "$spinox" play --db "$work/db" --at "@$at" "$work/evil.mp3" >/dev/null; done
"$spinox" play --db "$work/db" --at @4000 "$work/plain.mp3" >/dev/null
"$spinox" play --db "$work/db" --at @4100 "$work/bjork.mp3" >/dev/null

render() {  # page.htm -> dumped DOM
  "$chromium" --headless --no-sandbox --disable-gpu --disable-background-networking \
    --no-first-run --dump-dom "file://$1" 2>/dev/null
}

check_page() {  # page.htm
  local dom
  dom=$(render "$1") || fail "chromium could not render $1"
  grep -q '</table>' <<<"$dom" || fail "$1: no table in the rendered page"
  grep -qi '<script' <<<"$dom" && fail "$1: a script element got into the page"
  grep -q '&lt;script&gt;alert(1)&lt;/script&gt;' <<<"$dom" || fail "$1: the song title is not shown as text"
  grep -q 'Tom &amp; Jerry &lt;i&gt;' <<<"$dom" || fail "$1: the artist is not shown as text"
  echo "$dom"
}

# The sample template, with a filter value holding a script (the album of the tagged track: a
# filter must name something in the database).
filter='Tom & Jerry <i> - <script>alert(2)</script>'
"$spinox" html --db "$work/db" --now @5000 --period all --album "$filter" -o "$work/template.htm"
dom=$(check_page "$work/template.htm")
grep -q 'Tom &amp; Jerry &lt;i&gt; - &lt;script&gt;alert(2)&lt;/script&gt;' <<<"$dom" ||
  fail "template page: the filter value is not shown as text"

# The built-in page, with the user's own title holding a script: a settings file whose HTML
# part says so (layout offsets of gen_spinox.dat).
python3 - "$work/built-in.dat" <<'PY'
import struct, sys
rec = bytearray(2854)
rec[0:4] = b"SPX\0"
struct.pack_into("<i", rec, 4, 151)
struct.pack_into("<4i4i", rec, 8, 100, 100, 500, 400, 505, 100, 900, 350)
struct.pack_into("<8i", rec, 40, 0, 4, 0, 0, 0, 100, 0, 0)
struct.pack_into("<6I", rec, 72, 0xFFFFFFFF, 0xFFFFFFFF, 0xA00000, 0xFFFFFF, 0xFF6600, 0xFFFFFFFF)
struct.pack_into("<ii", rec, 2346, 0, 0)  # open in browser, use template: off
title = b"<script>document.title='pwned'</script>Top %size %type"
rec[2604:2604 + len(title)] = title
open(sys.argv[1], "wb").write(rec)
PY
"$spinox" html --db "$work/db" --now @5000 --period all --settings "$work/built-in.dat" \
  -o "$work/built-in.htm"
dom=$(check_page "$work/built-in.htm")
grep -q "<title>&lt;script&gt;document.title='pwned'&lt;/script&gt;Top 3 Songs</title>" <<<"$dom" ||
  fail "built-in page: the title is not shown as text"
grep -q '<td[^>]*>.*Jóga' <<<"$dom" || fail "built-in page: a name outside ASCII is not shown as it is"
echo "html_chromium_check: both pages render, markup from tags and titles shows as text"
