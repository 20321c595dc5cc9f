#!/usr/bin/env bash
# Sets up, builds with warnings as errors and runs the whole test suite, then
# runs it again built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh --tests

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKANSU_WERROR=ON >/dev/null
cmake --build build-test -j"$(nproc)"
(cd build-test && ctest --output-on-failure -j2)

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKANSU_WERROR=ON -DKANSU_SANITIZE=ON -DKANSU_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
   ctest --output-on-failure -j2 -E '^e2e_')
