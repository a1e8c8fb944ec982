#!/bin/bash
# How soon Ctrl-C ends a render, from the command line as a user presses it: the painted still
# life with outlines at 3840x2160 is interrupted (SIGINT) after each of a list of delays, so the
# signal lands in loading, shading, sorting, painting, bleeding and the line effect in turn. Prints
# for each delay the seconds from the signal to the program's exit and its exit status, and the
# longest wait; a render that finished before the signal is reported as such.
#
#   bench/cancel-latency.sh [VERMIL] [SIZE] [DELAYS...]
#
# Defaults: build/release/src/app/vermil, 3840x2160, delays 0.3 0.6 1 1.5 2 3 4 5 6 8 s.
set -eu

vermil=${1:-build/release/src/app/vermil}
size=${2:-3840x2160}
shift 2 2>/dev/null || shift $#
delays=("$@")
[ ${#delays[@]} -eq 0 ] && delays=(0.3 0.6 1 1.5 2 3 4 5 6 8)
here=$(cd "$(dirname "$0")/.." && pwd)
scene="$here/examples/still_life_painted_lines.json"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

now() { date +%s.%N; }
longest=0
for delay in "${delays[@]}"; do
    "$vermil" render "$scene" --size "$size" -o "$out/frame.png" --quiet >"$out/log" 2>&1 &
    pid=$!
    sleep "$delay"
    if ! kill -INT "$pid" 2>/dev/null; then
        wait "$pid" || true
        printf 'after %4s s: the render had finished\n' "$delay"
        continue
    fi
    sent=$(now)
    status=0
    wait "$pid" || status=$?
    took=$(echo "$(now) - $sent" | bc)
    printf 'after %4s s: exited %.2f s after the signal, status %d%s\n' "$delay" "$took" "$status" \
        "$([ -e "$out/frame.png" ] && echo ', image written')"
    rm -f "$out/frame.png"
    longest=$(echo "if ($took > $longest) $took else $longest" | bc)
done
printf 'longest wait: %.2f s\n' "$longest"
