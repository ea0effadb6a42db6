#!/usr/bin/env bash
# Kills a writer of the store a thousand times (or $1 times) at random points and checks after
# each kill that every committed transaction is there whole and nothing of a half one.
# Builds core_tests in build/ when needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-1000}
if [ ! -x "$root/build/tests/core_tests" ]; then
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$root/build" -j 2 --target core_tests
fi
VELMORA_CRASH_ROUNDS=$rounds "$root/build/tests/core_tests" \
    --gtest_filter='StoreFaultTest.AKilledWriter*'
