#!/usr/bin/env bash
# Sets up, builds and starts Velmora. The start base is created in the current folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target velmora
exec "$root/build/velmora"
