#!/usr/bin/env bash
# Runs every test: native unit tests under ASan+UBSan, the fuzzers for a bounded time, the core
# built with both mingw-w64 compilers, and the Windows builds with their checks and Wine tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
jobs=$(nproc)
step() { printf '\n=== %s\n' "$*"; }
# A step's script that is missing fails the run: a step skipped in silence would pass untested.
need() {
  for script in "$@"; do
    [ -x "$script" ] && continue
    echo "test.sh: $script is missing or not executable; its step cannot run" >&2
    exit 1
  done
}
need scripts/check_layers.sh scripts/check_dll.sh scripts/installer_tests.sh scripts/wine_tests.sh

step "layers"
scripts/check_layers.sh

step "native unit tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSPINOX_SANITIZE=ON >/dev/null
ninja -C build/asan -j"$jobs"
ln -sf build/asan/compile_commands.json compile_commands.json
(cd build/asan && ./spinox_tests --gtest_brief=1)
# Local times again in a zone with daylight saving (tzdata): the tests that name a zone set
# their own; this pass checks that nothing else takes the machine's zone for UTC.
step "native unit tests again under TZ=Europe/Berlin"
(cd build/asan && TZ=Europe/Berlin ./spinox_tests --gtest_brief=1)

step "fuzzers (${FUZZ_SECONDS:=20} s each)"
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DSPINOX_FUZZ=ON -DSPINOX_SANITIZE=ON >/dev/null
targets=$(cd fuzz && ls *_fuzz.cpp 2>/dev/null | sed 's/\.cpp$//')
ninja -C build/fuzz -j"$jobs" $targets
for t in $targets; do
  corpus=$(mktemp -d)
  [ -d "fuzz/corpus/$t" ] && cp -r "fuzz/corpus/$t/." "$corpus/"
  echo "--- $t"
  # A crash, a leak or a time-out fails the run; the input that caused it is kept and named.
  rc=0
  build/fuzz/$t -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$corpus/" -print_final_stats=1 "$corpus" >"$corpus.log" 2>&1 || rc=$?
  grep -E '^(stat::number_of_executed_units|SUMMARY)' "$corpus.log" || true
  if [ "$rc" -ne 0 ]; then
    tail -40 "$corpus.log"
    mkdir -p build/fuzz-failures
    cp "$corpus"/crash-* "$corpus"/leak-* "$corpus"/timeout-* "$corpus"/oom-* build/fuzz-failures/ 2>/dev/null || true
    echo "$t failed (exit $rc); its input is in build/fuzz-failures/" >&2
    exit 1
  fi
  rm -rf "$corpus" "$corpus.log"
done

for arch in i686 x86_64; do
  step "Windows build ($arch)"
  cmake -S . -B build/win-$arch -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-$arch.cmake >/dev/null
  ninja -C build/win-$arch -j"$jobs"
done
step "DLL checks"
scripts/check_dll.sh build/win-i686
step "installer (Wine)"
scripts/installer_tests.sh build/win-i686
# Under Wine: first the 32-bit DLL users install, then the 64-bit build.
for arch in i686 x86_64; do
  step "Wine end-to-end tests ($arch)"
  SPINOX_TOOL=build/asan/spinox scripts/wine_tests.sh build/win-$arch --gtest_brief=1
done
checks=(tests/*_check.sh)
need "${checks[@]}"
for t in "${checks[@]}"; do
  step "$t"
  "$t" build/asan
done
step "all tests passed"
