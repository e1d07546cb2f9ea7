#!/usr/bin/env bash
# Runs every test: native unit tests under ASan+UBSan, the fuzzers for a bounded time, the core
# built with both mingw-w64 compilers, and the Windows builds with their checks and Wine tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
jobs=$(nproc)
step() { printf '\n=== %s\n' "$*"; }

step "native unit tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSPINOX_SANITIZE=ON >/dev/null
ninja -C build/asan -j"$jobs"
ln -sf build/asan/compile_commands.json compile_commands.json
(cd build/asan && ./spinox_tests --gtest_brief=1)

step "fuzzers (${FUZZ_SECONDS:=20} s each)"
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DSPINOX_FUZZ=ON -DSPINOX_SANITIZE=ON >/dev/null
targets=$(cd fuzz && ls *_fuzz.cpp 2>/dev/null | sed 's/\.cpp$//')
ninja -C build/fuzz -j"$jobs" $targets
for t in $targets; do
  corpus=$(mktemp -d)
  [ -d "fuzz/corpus/$t" ] && cp -r "fuzz/corpus/$t/." "$corpus/"
  echo "--- $t"
  build/fuzz/$t -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus" 2>&1 | grep -E '^(stat::number_of_executed_units|==|SUMMARY)' || true
  test "${PIPESTATUS[0]}" -eq 0
  rm -rf "$corpus"
done

for arch in i686 x86_64; do
  step "Windows build ($arch)"
  cmake -S . -B build/win-$arch -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-$arch.cmake >/dev/null
  ninja -C build/win-$arch -j"$jobs"
done
[ -x scripts/check_dll.sh ] && { step "DLL checks"; scripts/check_dll.sh build/win-i686; }
step "installer (Wine)"
scripts/installer_tests.sh build/win-i686
# Under Wine: first the 32-bit DLL users install, then the 64-bit build.
for arch in i686 x86_64; do
  [ -x scripts/wine_tests.sh ] || break
  step "Wine end-to-end tests ($arch)"
  SPINOX_TOOL=build/asan/spinox scripts/wine_tests.sh build/win-$arch --gtest_brief=1
done
for t in tests/*_check.sh; do
  [ -x "$t" ] && { step "$t"; "$t" build/asan; }
done
step "all tests passed"
