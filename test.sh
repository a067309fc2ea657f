#!/usr/bin/env bash
# Installs what is missing, builds, runs every test: a plain build, a build under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzz run of the
# data-file reader.
set -euo pipefail
cd "$(dirname "$0")"
./tools/deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== plain build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
echo "== every header on its own"
cmake --build build -j"$jobs" --target orvel_header_check
SCREENSHOT_DIR="$PWD/build/screenshots" ctest --test-dir build --output-on-failure -j"$jobs"

echo "== fuzz run"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DORVEL_FUZZ=ON -DORVEL_WITH_QT=OFF >/dev/null
cmake --build build-fuzz -j"$jobs"
corpus=build-fuzz/corpus
rm -rf "$corpus" && mkdir -p "$corpus"
cp tests/data/*.kvd tests/data/*.kvt "$corpus"/ 2>/dev/null || true
build-fuzz/bin/fuzz_datafile -max_total_time=30 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$corpus"
old_corpus=build-fuzz/corpus-old
rm -rf "$old_corpus" && mkdir -p "$old_corpus"
cp tests/data/old_project*.kvd "$old_corpus"/
build-fuzz/bin/fuzz_olddatafile -max_total_time=15 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$old_corpus"
echo "== sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVEL_SANITIZE=ON -DORVEL_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
SCREENSHOT_DIR="$PWD/build-asan/screenshots" ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

