#!/usr/bin/env bash
# Installs what is missing, builds, runs every test: a plain build, a build under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzz run (under both) of the
# data-file readers, the exchange import, the language file reader, the number and date forms,
# the quick-import reader, the help file reader and the Exec lines of desktop entries.
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
# Each target starts from the files of its kind and runs a short fixed time on inputs of at most
# max_len bytes.
fuzz() {
  local target=$1 max_len=$2; shift 2
  local corpus=build-fuzz/corpus/$target
  rm -rf "$corpus" && mkdir -p "$corpus"
  for f in "$@"; do if [ -e "$f" ]; then cp "$f" "$corpus"/; fi; done
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "build-fuzz/bin/$target" -max_total_time=15 -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus"
}
fuzz fuzz_datafile 4096 tests/data/*.kvd tests/data/*.kvt tests/data/fixture_*.txt tests/data/exchange_*.txt \
  tests/data/empty_project.txt tests/data/product_only.txt
fuzz fuzz_inifile 4096 lang/language.txt tests/data/*language*.txt
fuzz fuzz_numbers 64
fuzz fuzz_desktopentry 512 tests/fuzz/desktop-exec/*
fuzz fuzz_exchange 4096 tests/data/*.kvt
fuzz fuzz_olddatafile 4096 tests/data/old_project*.kvd
fuzz fuzz_quickimport 4096 tests/data/quickimport_*.txt
fuzz fuzz_helpsitemap 4096 help/*.hhc help/*.hhk
fuzz fuzz_helpfile 16384 build-fuzz/seed/seed.chm
echo "== sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVEL_SANITIZE=ON -DORVEL_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
SCREENSHOT_DIR="$PWD/build-asan/screenshots" ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

