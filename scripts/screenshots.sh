#!/usr/bin/env bash
# Saves PNG pictures of Velmora's windows, drawn offscreen: the start window, the main window
# in "Search", "Other" and "KeyWords" mode (simple and double browser), the About window and
# the welcome dialog in both modes. Usage: scripts/screenshots.sh [folder] (default: docs/images, the pictures of the user guide)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/images}")
build="$root/build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_BENCH=ON >/dev/null
cmake --build "$build" --target screenshots
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$build/bench/screenshots/screenshots" "$out"
echo "Screenshots in $out"
