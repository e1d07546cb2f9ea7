#!/usr/bin/env bash
# Measures what the native unit tests are worth: seeds one realistic fault at a time into a
# scratch copy of this tree, rebuilds the tests incrementally and runs them, and reports for each
# fault whether the suite CAUGHT it (a test failed) or it SURVIVED (every test passed).
#
# usage: scripts/seed_faults.sh [--only NAME[,NAME...]] [--list] [--check]
#
# The caller's files are never touched: the tree as it is checked out (tracked files and new
# files not ignored, uncommitted edits included) is mirrored into $SEED_FAULTS_DIR (default
# ${TMPDIR:-/tmp}/spinox-seed-faults) and built there, in one build folder reused across faults
# and runs (set CMAKE_CXX_COMPILER_LAUNCHER=ccache to share compiled objects). The suite runs as
# scripts/test.sh runs it: once in the machine's zone, once more in each zone of
# $SEED_FAULTS_ZONES (default Europe/Berlin; empty for the first run only).
#
# Each fault is one row of the table below (scripts/seed_common.sh holds the table's form, the
# options and the seeding). `--check` only tells which rows no longer match. Exit status: 0
# when every fault was caught, 1 otherwise. CI does not run this (it rebuilds and reruns the suite once per fault); run it
# after changing tests or moving code.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

. scripts/seed_common.sh

# --- the faults -------------------------------------------------------------------------------
# fault NAME FILE DESCRIPTION FIND REPLACE
fault period-all-end hitlist/period.cpp \
  "the All period leaves out the play of this very second" \
  'return PeriodBounds{0, Clamp32(int64_t{now} + 1)};' \
  'return PeriodBounds{0, now};'
fault period-start-bound hitlist/hit_file.cpp \
  "a play exactly at the start of the period is left out (off by one in the period bound)" \
  'return h.time < v; });' \
  'return h.time <= v; });'
fault day-count-bound db/play.cpp \
  "a play exactly one day old is not counted as played today" \
  'if (h.time >= windows.day) ++hitsDay;' \
  'if (h.time > windows.day) ++hitsDay;'
fault artist-filter-dropped hitlist/engine.cpp \
  "the albums list ignores the artist filter (a dropped filter)" \
  $'type != kListArtists)\n    ApplyArtistFilter(' \
  $'type == kListSongs)\n    ApplyArtistFilter('
fault log-filter-dropped hitlist/engine.cpp \
  "the log ignores the artist filter (a dropped filter)" \
  'filterValue && (filterType == kFilterArtist || filterType == kFilterAlbum);' \
  'filterValue && filterType == kFilterAlbum;'
fault album-filter-reads-artist hitlist/engine.cpp \
  "the songs list's album filter compares the song's artist id" \
  'std::memcpy(&albumId, rec + 8, sizeof albumId);' \
  'std::memcpy(&albumId, rec + 4, sizeof albumId);'
fault log-album-filter-reads-artist hitlist/engine.cpp \
  "the log's album filter compares each play's artist id" \
  'field = &HitRecord::albumId;' \
  'field = &HitRecord::artistId;'
fault prev-position-off-by-one hitlist/engine.cpp \
  "the previous period's positions are one too high" \
  'pos[top[r].id] = static_cast<int32_t>(r);' \
  'pos[top[r].id] = static_cast<int32_t>(r) + 1;'
fault play-lost db/play.cpp \
  "a recorded play stays pending, so the next play of the song overwrites it (a lost hit)" \
  $'  gPending.set = false;\n  info->playTime = hit.time;' \
  '  info->playTime = hit.time;'
fault removed-artist-found db/lookup.cpp \
  "a removed artist record is found by name (a deleted record not skipped)" \
  'return IsLive(r) && key.Matches(r + offsetof(ArtistRecord, name));' \
  'return key.Matches(r + offsetof(ArtistRecord, name));'
fault playlist-file-offset hitlist/playlist.cpp \
  "playlists are written from the album field instead of the path (a wrong record offset)" \
  'constexpr size_t kFileOffset = 162;' \
  'constexpr size_t kFileOffset = 112;'
fault playlist-relative-path hitlist/playlist.cpp \
  "a relative playlist entry is not joined to the playlist's folder" \
  '(dir / p).lexically_normal().u8string()' \
  'p.lexically_normal().u8string()'
fault backup-negative-count db/sections.cpp \
  "a negative record count in a backup is accepted" \
  '!f.Read(&count, 4) || count < 0) return false;' \
  '!f.Read(&count, 4)) return false;'
fault html-escape-lt html/html_writer.cpp \
  "'<' in a database text reaches the HTML page unescaped" \
  'out += "&lt;";' \
  'out += ch;'
fault stored-text-as-ansi tool/cmd_dump.cpp \
  "stored names are printed through the ANSI code page whatever the folder's encoding" \
  'std::string utf8 = StoredTextAsUtf8(FieldText(field, n), style.encoding);' \
  'std::string utf8 = StoredTextAsUtf8(FieldText(field, n), TextEncoding::kAnsi);'
fault chart-width-per-character tool/text_out.cpp \
  "a text chart pads a wide (East Asian or emoji) character as one column" \
  'n += In(kZeroWidth, c) ? 0 : In(kWide, c) ? 2 : 1;' \
  'n += In(kZeroWidth, c) ? 0 : In(kWide, c) ? 1 : 1;'
fault csv-quote tool/cmd_chart.cpp \
  "a quote inside a CSV field is not doubled" \
  'ch == '"'\"'"' ? std::string("\"\"")' \
  'ch == '"'\"'"' ? std::string("\"")'
fault local-time-as-utc hitlist/time_text.cpp \
  "local-time texts are written in UTC (a time-zone slip)" \
  'std::tm* tm = std::localtime(&tt);' \
  'std::tm* tm = std::gmtime(&tt);'
fault date-ignores-dst tool/args.cpp \
  "a local date given to the tool is read as standard time in summer" \
  'tm.tm_isdst = -1;' \
  'tm.tm_isdst = 0;'
fault lock-exclusive-as-shared db/lock.cpp \
  "the exclusive database lock is taken as a shared one (a lock not taken)" \
  'range.l_type = kind == LockKind::kExclusive ? F_WRLCK : F_RDLCK;' \
  'range.l_type = F_RDLCK;'
fault journal-undo-drops-old db/journal.cpp \
  "undoing a change deletes the files moved aside instead of putting them back" \
  'ok = RenameOver(OldPath(e.name), RealPath(e.name)) && ok;' \
  'ok = RemoveFile(OldPath(e.name)) && ok;'
fault journal-not-written db/journal.cpp \
  "a change is switched in without writing its journal first (a journal step skipped)" \
  'if (!WriteFileReplacing(journal, text.data(), text.size())) return ok_ = false;' \
  ''
fault settings-text-unterminated settings/settings.cpp \
  "a text field of the settings file is taken without a terminating NUL" \
  $'    if (f.kind == SettingsFieldKind::kText) bytes[end - 1] = 0;\n' \
  ''
fault settings-ansi-texts-raw settings/settings.cpp \
  "an earlier version's settings texts, still in the code page, are taken as UTF-8" \
  'RecodeSettingsTexts(&rec, AnsiToUtf8);' \
  'RecodeSettingsTexts(&rec, CleanUtf8);'
fault settings-utf8-into-ansi-folder settings/settings.cpp \
  "settings texts are written as UTF-8 into a folder whose texts are still in the code page" \
  'RecodeSettingsTexts(&out, Utf8ToAnsi);' \
  'RecodeSettingsTexts(&out, CleanUtf8);'
fault settings-reread-raw settings/settings.cpp \
  "settings converted now but not read again keep their code-page texts, taken as UTF-8" \
  $'!ReadFileRange(path, 0, kSettingsSize, &bytes) ||\n        !ParseSettings(bytes.data(), bytes.size(), &rec))' \
  $'(ReadFileRange(path, 0, kSettingsSize, &bytes) &&\n        !ParseSettings(bytes.data(), bytes.size(), &rec)))'
fault osd-week-counter ui/osd/display_text.cpp \
  "the display text's %hitsweek shows the month's plays" \
  'return Count(s.hitsWeek);' \
  'return Count(s.hitsMonth);'
fault synchsafe-shift tags/tag_io.cpp \
  "ID3v2 synchsafe sizes are read with 8-bit digits" \
  'v = v << 7 | (p[i] & 0x7F);' \
  'v = v << 8 | (p[i] & 0x7F);'
fault v1-blank-name-kept tags/track_tag.cpp \
  "a name of blanks only is not trimmed to empty" \
  'if (run >= 0) s[run]' \
  'if (run > 0) s[run]'
fault ogg-packet-cut tags/ogg.cpp \
  "an Ogg comment packet that goes on past a 255-byte segment is cut short" \
  'continues_ = page.lacing[i] == 255;' \
  'continues_ = false;'

fault convert-field-skipped db/convert_text.cpp \
  "the conversion of an earlier version's texts leaves the songs' album names in the code page" \
  '{offsetof(SongRecord, album), kNameSize, "album"},' \
  ''
fault convert-marker-outside-change db/convert_text.cpp \
  "the marker of UTF-8 texts is written beside the change, so a crash leaves it on old texts" \
  'std::string path = FullPath(kUtf8MarkerFile);' \
  'std::string path = RealPath(kUtf8MarkerFile);'
fault restore-ansi-unconverted db/backup.cpp \
  "an earlier version's backup is restored without converting its texts" \
  'bool ansiBackup = !BackupIsUtf8(f);' \
  'bool ansiBackup = false;'
fault play-into-ansi db/play.cpp \
  "a play writes UTF-8 names into an earlier version's database without converting it first" \
  'if (EnsureUtf8Database() == TextConversion::kFailed) return false;
  DatabaseLock lock(LockKind::kExclusive);' \
  'DatabaseLock lock(LockKind::kExclusive);'
fault tick-threshold-late plugin/tick.cpp \
  "a play is counted one second after its threshold (off by one in the play timer)" \
  'if (t->_timer < PlayThreshold(s._addTime, length)) return;' \
  'if (t->_timer <= PlayThreshold(s._addTime, length)) return;'
fault tick-change-restarts-play plugin/tick.cpp \
  "a change of the database while a track plays gives its play the time of the change" \
  '  t->_data.playTime = playTime;' \
  '  (void)playTime;'
fault tick-backup-a-day-early plugin/tick.cpp \
  "the automatic backup runs when its interval has passed to the day, not beyond it" \
  'days <= s->_backupTime) return;' \
  'days < s->_backupTime) return;'

seed_options "$@"

# --- the scratch copy -------------------------------------------------------------------------
scratch=${SEED_FAULTS_DIR:-${TMPDIR:-/tmp}/spinox-seed-faults}
tree=$scratch/tree
build=$tree/build/seed
zones=${SEED_FAULTS_ZONES-Europe/Berlin}

log=$scratch/last.log
build_tests() {
  ninja -C "$build" -j"${SEED_FAULTS_JOBS:-2}" spinox_tests >"$log" 2>&1
}
# Runs the suite as scripts/test.sh does; prints the first failing test when one fails.
run_suite() {
  local zone failed
  for zone in "" $zones; do
    if [ -z "$zone" ]; then
      (cd "$build" && timeout 600 ./spinox_tests --gtest_brief=1 --gtest_fail_fast) >"$log" 2>&1
    else
      (cd "$build" && TZ=$zone timeout 600 ./spinox_tests --gtest_brief=1 --gtest_fail_fast) >"$log" 2>&1
    fi || {
      failed=$(grep -m1 -E '^\[  FAILED  \] [A-Za-z]' "$log" | sed 's/^\[  FAILED  \] //; s/ (.*//' || true)
      [ -z "$failed" ] && failed="the run ended abnormally"
      echo "${zone:+TZ=$zone: }$failed"
      return 1
    }
  done
  return 0
}

echo "mirroring $repo into $tree"
seed_mirror "$repo" "$tree"
cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSPINOX_SANITIZE=ON >/dev/null
build_tests || { tail -30 "$log"; echo "the unfaulted tree does not build" >&2; exit 2; }
if why=$(run_suite); then :; else
  tail -30 "$log"
  echo "the unfaulted suite fails ($why): nothing can be measured" >&2
  exit 2
fi

# --- the faults, one at a time ----------------------------------------------------------------
caught=0 survived=0 stale=0 broken=0 total=0
for i in "${!names[@]}"; do
  name=${names[$i]} file=${files[$i]}
  seed_selected "$i" || continue
  total=$((total + 1))
  rc=0
  seed_fault "$i" "$tree" "$scratch/original" || rc=$?
  if [ "$rc" -ne 0 ]; then
    why="its text no longer occurs in $file: update the row"
    [ "$rc" -eq 2 ] && why="$file is gone: update the row"
    [ "$rc" -eq 4 ] && why="its text occurs more than once in $file: make it unique"
    printf '%-28s NO MATCH   %s\n' "$name" "$why"
    stale=$((stale + 1))
    continue
  fi
  if ! build_tests; then
    printf '%-28s BROKEN     the faulted tree does not build (%s)\n' "$name" \
      "$(grep -m1 'error' "$log" | cut -c1-120)"
    broken=$((broken + 1))
  elif result=$(run_suite); then
    printf '%-28s SURVIVED   %s\n' "$name" "${descs[$i]}"
    survived=$((survived + 1))
  else
    printf '%-28s CAUGHT     by %s\n' "$name" "$result"
    caught=$((caught + 1))
  fi
  seed_restore "$i" "$tree" "$scratch/original"
done
# The last fault's file was restored after its build: bring the objects back in line.
build_tests || true

echo
echo "$caught caught of $total ($survived survived, $stale no longer match, $broken do not build)"
[ "$caught" -eq "$total" ]
