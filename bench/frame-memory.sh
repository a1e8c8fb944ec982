#!/bin/sh
# Peak memory of a frame from the command line as a user runs it: the painted still life and the
# plain scanline render of the same scene, each written to a PNG. Prints the peak resident set
# (GNU time's %M, in KiB) and bytes per pixel of the frame (peak bytes / pixels, the fixed part
# of the process included), and the painted frame's share over the plain one. The process holds
# over 100 MB before it reads a scene (the libraries' pages, their start-up tables), whatever the
# frame size; so the painted frame is also rendered at half the size in each direction, and the
# difference between the two peaks over the difference in pixels is what each pixel of a frame
# costs by itself.
#
#   bench/frame-memory.sh [VERMIL] [SIZE] [THREADS]
#
# Defaults: build/release/src/app/vermil, 3840x2160, 2 threads. Needs /usr/bin/time (GNU time).
set -eu

vermil=${1:-build/release/src/app/vermil}
size=${2:-3840x2160}
threads=${3:-2}
here=$(cd "$(dirname "$0")/.." && pwd)
scene="$here/examples/still_life_painted.json"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

pixels=$(echo "$size" | awk -Fx '{print $1 * $2}')
half=$(echo "$size" | awk -Fx '{print int($1 / 2) "x" int($2 / 2)}')
halfPixels=$(echo "$half" | awk -Fx '{print $1 * $2}')
peak() {
    # shellcheck disable=SC2086
    /usr/bin/time -f "%M" -o "$out/$1.rss" "$vermil" render "$scene" --size "$2" --threads "$threads" \
        $3 --quiet -o "$out/$1.png"
    cat "$out/$1.rss"
}

painted=$(peak painted "$size" "")
plain=$(peak plain "$size" "--renderer scanline")
paintedHalf=$(peak paintedHalf "$half" "")

printf 'size %s (%s pixels), %s threads: peak resident set\n' "$size" "$pixels" "$threads"
for kind in painted plain; do
    kib=$(eval echo "\$$kind")
    printf '%-8s %8s KiB  %6.1f MB  %6.1f bytes per pixel\n' "$kind" "$kib" \
        "$(echo "$kib * 1024 / 1000000" | bc -l)" "$(echo "$kib * 1024 / $pixels" | bc -l)"
done
printf 'painted over plain: %.1f bytes per pixel\n' "$(echo "($painted - $plain) * 1024 / $pixels" | bc -l)"
printf 'painted at %s: %s KiB; each pixel of the painted frame by itself: %.1f bytes\n' "$half" "$paintedHalf" \
    "$(echo "($painted - $paintedHalf) * 1024 / ($pixels - $halfPixels)" | bc -l)"
