#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
./tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only the program, its libraries and files: the tests and benchmarks are ./test.sh's.
cmake --build build -j"$(nproc)" --target orvel
exec build/bin/orvel "$@"
