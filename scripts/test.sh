#!/usr/bin/env bash
# Sets up, builds and runs every test: once in an ordinary build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer. Windows are tested offscreen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j "$jobs"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

if [ "${VELMORA_SKIP_SANITIZE:-0}" != 1 ]; then
    cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF >/dev/null
    cmake --build "$root/build-asan" -j "$jobs"
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
        ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"
fi
