#!/usr/bin/env bash
# Runs the accessibility bench (bench/a11y/main.cpp) the way a user of a screen reader meets
# the card lists: a virtual display (Xvfb), a private session bus (dbus-run-session) with the
# accessibility bus launched on it (at-spi-bus-launcher), a client listening for events on
# that bus (listener.py), and the program with its accessibility bridge active. Each list runs
# in a process of its own, so that one that times out does not hold up the other.
#
#   bench/a11y/run.sh [--notes N] [--cap SECONDS] [--list keyword|date|both]
#                     [--client listen|read|both] [--reference] [--build DIR]
#
# --client listen: the client only listens (time until shown, events received);
#          read: it also reads every cell of each table shown (see listener.py); both: one
#          pass of each. --reference: the same lists timed first without the bridge.
# Defaults: 100,000 Notes, 300 s per list, both lists, a listening client, build folder
# ./build of the source tree. Build the bench first: cmake --build build -j2 --target bench_a11y
# Installs the Debian packages it needs when they are missing (xvfb, dbus, at-spi2-core,
# python3-pyatspi).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$root/build
notes=100000
cap=300
lists="keyword date"
clients=listen
reference=0
args=("$@")
while (($#)); do
    case $1 in
    --notes) notes=$2; shift 2 ;;
    --cap) cap=$2; shift 2 ;;
    --list) [[ $2 == both ]] && lists="keyword date" || lists=$2; shift 2 ;;
    --client) [[ $2 == both ]] && clients="listen read" || clients=$2; shift 2 ;;
    --reference) reference=1; shift ;;
    --build) build=$(cd "$2" && pwd); shift 2 ;;
    *) echo "usage: $0 [--notes N] [--cap SECONDS] [--list keyword|date|both] [--client listen|read|both] [--reference] [--build DIR]" >&2
       exit 2 ;;
    esac
done
bin=$build/bench/a11y/a11y
launcher=/usr/libexec/at-spi-bus-launcher
python=/usr/bin/python3 # the Debian interpreter, where python3-pyatspi installs

if [[ ${A11Y_BENCH_INNER:-} != 1 ]]; then
    missing=()
    command -v Xvfb >/dev/null || missing+=(xvfb)
    command -v dbus-run-session >/dev/null && command -v dbus-send >/dev/null || missing+=(dbus)
    [[ -x $launcher ]] || missing+=(at-spi2-core)
    [[ -x $python ]] && $python -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
    if ((${#missing[@]})); then
        sudo=
        ((EUID == 0)) || sudo=sudo
        echo "installing ${missing[*]}"
        $sudo apt-get update -qq
        $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
    fi
    if [[ ! -x $bin ]]; then
        echo "$bin is missing: cmake --build $build -j2 --target bench_a11y" >&2
        exit 1
    fi

    work=$(mktemp -d)
    xvfb=
    cleanup() {
        [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
        rm -rf "$work"
    }
    trap cleanup EXIT
    # Xvfb picks a free display itself and writes its number.
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
    if [[ ! -s $work/display ]]; then
        echo "Xvfb did not start:" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=:$(head -1 "$work/display")
    A11Y_BENCH_INNER=1 A11Y_BENCH_WORK=$work timeout $((6 * (cap + 120) + 300)) \
        dbus-run-session -- "${BASH_SOURCE[0]}" "${args[@]}"
    exit
fi

# Inside the private session bus.
work=$A11Y_BENCH_WORK
pids=()
stop() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap stop EXIT

export QT_QPA_PLATFORM=xcb
if ((reference)); then
    echo "== without the accessibility bridge"
    for list in $lists; do
        env -u DBUS_SESSION_BUS_ADDRESS QT_ACCESSIBILITY=0 timeout $((cap + 120)) \
            "$bin" --notes "$notes" --list "$list" --cap "$cap" ||
            echo "$list: the bench ended with status $?"
    done
    echo
fi

$launcher --launch-immediately >"$work/launcher.log" 2>&1 &
pids+=($!)
ok=0
for _ in $(seq 100); do
    if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true; then
        ok=1 && break
    fi
    sleep 0.1
done
((ok)) || { echo "the accessibility bus did not start" >&2; cat "$work/launcher.log" >&2; exit 1; }

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
for client in $clients; do
    events=$work/events.$client
    flags=()
    [[ $client == read ]] && flags=(--read-tables)
    $python "$here/listener.py" "${flags[@]}" "$events" 2>"$work/listener.log" &
    listener=$!
    pids+=($listener)
    for _ in $(seq 300); do grep -q '^# ready' "$events" 2>/dev/null && break; sleep 0.1; done
    if ! grep -q '^# ready' "$events" 2>/dev/null; then
        echo "the listener did not start" >&2
        cat "$work/listener.log" >&2
        exit 1
    fi
    if [[ $client == read ]]; then
        echo "== accessibility bridge active, a client reading every cell of the tables shown"
    else
        echo "== accessibility bridge active, a client listening"
    fi
    for list in $lists; do
        timeout $((cap + 120)) "$bin" --notes "$notes" --list "$list" --events "$events" \
            --cap "$cap" || echo "$list: the bench ended with status $?"
    done
    kill "$listener" 2>/dev/null || true
    wait "$listener" 2>/dev/null || true
    echo
done
