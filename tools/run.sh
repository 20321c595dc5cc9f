#!/usr/bin/env bash
# Sets up, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKANSU_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target kansu-app
exec build/kansu
