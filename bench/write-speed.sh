#!/bin/sh
# Frame writing speed, from the command line as a user sees it: the seconds one 16-bit RGBA PNG
# takes to write, and a painted sequence's wall time with each frame written before the next
# renders and while it renders.
#
#   bench/write-speed.sh [VERMIL] [FRAMES] [SIZE]
#
# Defaults: build/release/src/app/vermil, 4 frames, 1920x1080. Timings vary with the machine's
# load; compare runs made back to back.
set -eu

vermil=${1:-build/release/src/app/vermil}
frames=${2:-4}
size=${3:-1920x1080}
here=$(cd "$(dirname "$0")/.." && pwd)
scene="$here/examples/turntable.json"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

now() { date +%s.%N; }

# Serial run: --stats reports each frame's full write time, since nothing overlaps it.
start=$(now)
"$vermil" render "$scene" --paint --frames "1-$frames" --size "$size" --serial-writes --stats --quiet \
    -o "$out/serial.png" >"$out/serial.txt"
serial=$(echo "$(now) - $start" | bc)

start=$(now)
"$vermil" render "$scene" --paint --frames "1-$frames" --size "$size" --quiet -o "$out/overlap.png" \
    >/dev/null
overlap=$(echo "$(now) - $start" | bc)

for f in $(seq 1 "$frames"); do
    n=$(printf %04d "$f")
    cmp -s "$out/serial.$n.png" "$out/overlap.$n.png" || {
        echo "frame $f differs between the serial and the overlapped run" >&2
        exit 1
    }
done

best=$(awk '/^seconds_write:/ { if (min == "" || $2 < min) min = $2 } END { print min }' "$out/serial.txt")
echo "png_write_seconds_best: $best ($size, 16-bit RGBA, of $frames frames)"
echo "sequence_seconds_serial: $serial ($frames painted frames)"
echo "sequence_seconds_overlapped: $overlap"
