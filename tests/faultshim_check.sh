#!/usr/bin/env bash
# Fault injection through the real tool: every multi-file change (restore, clear, convert,
# merges, renames, remove, plays) is run again and again with its n-th write, flush or rename
# failing (tests/faultshim/faultshim.c), for n = 1, 2, ... until a run meets no fault. After
# each run the next tool command (which finishes or undoes an unfinished change) must find a
# sound database that is byte for byte the one before or the one after the change, with no
# file left over, and the change may exit 0 only when it is wholly done. The page and playlist
# outputs get the same treatment: a failure leaves an existing output file as it was.
# Usage: tests/faultshim_check.sh BUILD_DIR   (BUILD_DIR holds the spinox tool)
#        VERBOSE=1 tests/faultshim_check.sh ... prints every run; FULL=1 ... fails removals too
set -euo pipefail
build=${1:-build/asan}
spinox=$(cd "$build" && pwd)/spinox
here=$(cd "$(dirname "$0")" && pwd)
# Many small changes, each synced: a memory file system keeps this quick where there is one.
work=$(mktemp -d -p "$( [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$work"' EXIT
# The shim comes first among the preloaded libraries; AddressSanitizer need not.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0:detect_leaks=0"
cc -O1 -shared -fPIC -Wall -Wextra -Werror -o "$work/faultshim.so" "$here/faultshim/faultshim.c" -ldl

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
sx() { "$spinox" "$@" --db "$db" >/dev/null 2>&1; }

# Five tracks with ID3v1 tags: title artist album.
id3v1() { head -c 200 /dev/zero; printf 'TAG%-30s%-30s%-30s%-4s%-30s\377' "$1" "$2" "$3" 2024 ""; }
mkdir "$work/tracks"
id3v1 t1 ann alpha >"$work/tracks/1.mp3"
id3v1 t2 ann alpha >"$work/tracks/2.mp3"
id3v1 t3 bob beta >"$work/tracks/3.mp3"
id3v1 t4 bob beta >"$work/tracks/4.mp3"
id3v1 t5 cy gamma >"$work/tracks/5.mp3"
id3v1 t6 dee delta >"$work/tracks/6.mp3"

# The database every case starts from: songs 0..4 (t1..t5), artists ann bob cy, albums alpha
# beta gamma; a backup taken after seven plays, then two plays more.
db=$work/fixture
mkdir "$db"
play() { sx play --at "@$1" "$work/tracks/$2.mp3"; }
for p in 1000:1 2000:2 3000:3 4000:1 5000:4 6000:5 7000:3; do play "${p%:*}" "${p#*:}"; done
sx backup --at @7500
mv "$db"/*.bak "$work/backup.bak"
play 8000 2
play 9000 5
# An old single-file database: a block, then the hit, song, artist and album sections of the
# backup's records, each after its record count.
db=$work/restored
mkdir "$db"
sx restore --yes "$work/backup.bak"
python3 - "$db" "$work/old.dat" <<'PY'
import struct, sys
d, out = sys.argv[1], sys.argv[2]
data = struct.pack('<i', 3) + b'abc'
for ext, size in (('hit', 16), ('sng', 416), ('art', 54), ('alb', 104)):
    b = open(f'{d}/gen_spinox.{ext}', 'rb').read()
    data += struct.pack('<i', len(b) // size) + b
open(out, 'wb').write(data)
PY

# What a database folder holds: each data file's digest (or its absence) and any other file.
state() {
  local f
  (cd "$1" && sha1sum gen_spinox.{sng,alb,art,hit,dat} 2>&1) || true
  for f in "$1"/* "$1"/.[!.]*; do
    case ${f##*/} in
      gen_spinox.sng | gen_spinox.alb | gen_spinox.art | gen_spinox.hit | gen_spinox.dat) ;;
      gen_spinox.lck | *.old | *.new | '*' | '.[!.]*') ;;
      *) echo "${f##*/}" ;;
    esac
  done
}

# setup_CASE DIR prepares the folder the change starts from.
setup_plain() { cp -r "$work/fixture/." "$1/"; }
setup_convert() { cp -r "$work/fixture/." "$1/"; cp "$work/old.dat" "$1/gen_spinox.dat"; }

# name|setup|strict|command. strict: the database must come out wholly old or wholly new;
# a play of a new song may keep the song it added before failing (a retry adds only the rest)
# but never its hit.
cases=(
  "restore|plain|1|restore --yes $work/backup.bak"
  "clear|plain|1|clear --yes"
  "convert|convert|1|convert"
  "merge song|plain|1|edit --merge song 1 --title t1"
  "merge artist|plain|1|edit --merge artist 2 --name bob"
  "rename song album|plain|1|edit song 3 --album new"
  "rename artist|plain|1|edit artist 1 --name bert"
  "remove|plain|1|remove --yes 2"
  "play known song|plain|1|play --at @9500 $work/tracks/3.mp3"
  "play new song|plain|0|play --at @9500 $work/tracks/6.mp3"
)
# ops|errno|sticky: a single failure, and a disk that stays full or broken from then on;
# FULL=1 also makes removals fail.
modes=("write,fsync,rename|ENOSPC|0" "write,fsync,rename|EIO|1")
[ -z "${FULL:-}" ] || modes+=("write,fsync,rename,remove|EIO|0")

total=0
for c in "${cases[@]}"; do
  IFS='|' read -r name setup strict cmd <<<"$c"
  db=$work/old; rm -rf "$db"; mkdir "$db"; "setup_$setup" "$db"
  old=$(state "$db")
  oldhit=$(grep 'gen_spinox\.hit$' <<<"$old")
  db=$work/new; rm -rf "$db"; mkdir "$db"; "setup_$setup" "$db"
  # shellcheck disable=SC2086
  "$spinox" $cmd --db "$db" >/dev/null 2>"$work/err" || { fail "$name: fails without a fault: $(cat "$work/err")"; continue; }
  new=$(state "$db")
  [ "$old" != "$new" ] || fail "$name: changes nothing"
  summary=""
  for m in "${modes[@]}"; do
    IFS='|' read -r ops err sticky <<<"$m"
    n=0 failed_runs=0
    while :; do
      n=$((n + 1))
      db=$work/run; rm -rf "$db"; mkdir "$db"; "setup_$setup" "$db"
      rm -f "$work/count"
      set +e
      # shellcheck disable=SC2086
      FAULTSHIM_AT=$n FAULTSHIM_OPS=$ops FAULTSHIM_ERRNO=$err FAULTSHIM_STICKY=$sticky \
        FAULTSHIM_COUNT=$work/count LD_PRELOAD=$work/faultshim.so \
        "$spinox" $cmd --db "$db" >/dev/null 2>"$work/err"
      rc=$?
      [ ! -e "$db/gen_spinox.jnl" ] || "$spinox" dump hits --db "$db" >/dev/null 2>&1
      "$spinox" check --db "$db" >"$work/check" 2>&1
      checked=$?
      set -e
      total=$((total + 1))
      read -r _calls fired <"$work/count" || fired=unknown
      after=$(state "$db")
      verdict=new
      [ "$after" = "$new" ] || verdict=old
      [ "$verdict" = new ] || [ "$after" = "$old" ] || verdict=mixed
      [ "${VERBOSE:-}" ] && echo "$name [$ops $err sticky=$sticky] n=$n fired=$fired rc=$rc -> $verdict: $(head -c 160 "$work/err")"
      where="$name [$ops $err sticky=$sticky] fault $n"
      [ "$rc" -lt 128 ] || fail "$where: exit $rc: $(cat "$work/err")"
      [ "$checked" -eq 0 ] || fail "$where: the next check finds: $(cat "$work/check")"
      if [ "$strict" = 1 ] && [ "$verdict" = mixed ]; then
        fail "$where: neither the old nor the new database:"$'\n'"$(diff <(echo "$old") <(echo "$after"))"
      fi
      if [ "$strict" = 0 ] && [ "$rc" -ne 0 ] && ! grep -qxF "$oldhit" <<<"$after"; then
        fail "$where: a failed play changed the hit file"
      fi
      [ "$rc" -ne 0 ] || [ "$verdict" = new ] || fail "$where: exit 0 but the change was not made"
      if [ "$fired" = 0 ]; then
        [ "$rc" -eq 0 ] || fail "$where: exit $rc without a fault: $(cat "$work/err")"
        break
      fi
      [ "$rc" -eq 0 ] || failed_runs=$((failed_runs + 1))
      [ "$n" -lt 200 ] || { fail "$where: no end to the faults"; break; }
    done
    how="at"
    [ "$sticky" = 0 ] || how=from
    summary+=" ${ops//,/+} $err $how n: $((n - 1)) points, $failed_runs failed runs;"
  done
  echo "$name:$summary"
done
# Outputs are replaced whole: a failed page or playlist leaves the existing file as it was.
# (The sample template is installed first: a page made without it is still made.)
db=$work/fixture
"$spinox" html --db "$db" -o "$work/first.html" >/dev/null
for cmd in html m3u; do
  n=0
  while :; do
    n=$((n + 1))
    echo "the user's own file" >"$work/out.$cmd"
    set +e
    FAULTSHIM_AT=$n FAULTSHIM_COUNT=$work/count LD_PRELOAD=$work/faultshim.so \
      "$spinox" "$cmd" --db "$db" --period all -o "$work/out.$cmd" >/dev/null 2>"$work/err"
    rc=$?
    set -e
    total=$((total + 1))
    read -r _calls fired <"$work/count" || fired=unknown
    kept=$(cat "$work/out.$cmd")
    if [ "$fired" = 0 ]; then
      [ "$rc" -eq 0 ] || fail "$cmd: exit $rc without a fault"
      [ "$kept" != "the user's own file" ] || fail "$cmd: nothing written without a fault"
      break
    fi
    [ "$rc" -ne 0 ] || fail "$cmd fault $n: exit 0"
    [ "$kept" = "the user's own file" ] || fail "$cmd fault $n: the existing output was changed"
    [ -z "$(find "$work" -maxdepth 1 -name "out.$cmd?*")" ] || fail "$cmd fault $n: a file left over"
  done
  echo "$cmd -o: $((n - 1)) points"
done

echo "$total runs, $failures failure(s)"
[ "$failures" -eq 0 ]
