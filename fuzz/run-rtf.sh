#!/usr/bin/env bash
# Builds the fuzz target of the RTF reader with clang and libFuzzer (address and undefined
# behaviour sanitizers on) and runs it for a bounded time. Not part of the test run.
#
#   fuzz/run-rtf.sh [seconds] [extra libFuzzer options...]     (default: 60 seconds)
#
# The growing corpus and any crashing input go to build-fuzz/ (VELMORA_FUZZ_DIR to change it).
# A finding makes the script fail and leaves the input as build-fuzz/findings-rtf/crash-*;
# replay it with: build-fuzz/rtf_reader_fuzz build-fuzz/findings-rtf/crash-...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
out=${VELMORA_FUZZ_DIR:-$root/build-fuzz}

if ! command -v clang++ >/dev/null; then
    echo "clang++ is needed: apt-get install clang libclang-rt-14-dev" >&2
    exit 2
fi
mkdir -p "$out/corpus-rtf" "$out/findings-rtf"

sources=(
    "$root/fuzz/rtf_reader_fuzz.cpp"
    "$root/src/core/cards/rtfreader.cpp"
    "$root/src/core/cards/rtfwriter.cpp"
    "$root/src/core/cards/richtext.cpp"
    "$root/src/core/cards/codepage.cpp"
)
binary="$out/rtf_reader_fuzz"
stale=0
[ -x "$binary" ] || stale=1
for s in "${sources[@]}" "$root"/src/core/cards/{richtext,rtf,codepage}.h "$0"; do
    [ "$s" -nt "$binary" ] && stale=1
done
if [ "$stale" = 1 ]; then
    echo "Building $binary"
    # shellcheck disable=SC2046
    clang++ -std=c++20 -g -O1 -fPIC -fno-omit-frame-pointer \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -I "$root/src" "${sources[@]}" $(pkg-config --cflags --libs Qt6Core Qt6Gui) \
        -o "$binary"
fi

export QT_QPA_PLATFORM=offscreen
# Qt keeps a few process-wide caches (fonts, converters) that leak checking would report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
"$binary" "$out/corpus-rtf" "$root/fuzz/corpus/rtf" \
    -dict="$root/fuzz/rtf.dict" \
    -max_total_time="$seconds" \
    -max_len=65536 \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -print_final_stats=1 \
    -artifact_prefix="$out/findings-rtf/" \
    "$@"
