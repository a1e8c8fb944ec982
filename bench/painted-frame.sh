#!/bin/sh
# A painted frame against a plain one, from the command line as a user runs it: the painted still
# life and the plain scanline render of the same scene, each with 1 and 2 threads, whole commands
# including writing the image. Prints the wall times, painted / plain with 2 threads, the painted
# frame's speed-up from 1 to 2 threads (whole command and render alone), stroke painting per dab
# pixel and the write time.
#
#   bench/painted-frame.sh [VERMIL] [SIZE] [RUNS]
#
# Defaults: build/release/src/app/vermil, 1920x1080, 3 runs (the best of each is kept). The runs
# alternate, so a busy machine slows every kind alike; compare figures within one run only.
set -eu

vermil=${1:-build/release/src/app/vermil}
size=${2:-1920x1080}
runs=${3:-3}
here=$(cd "$(dirname "$0")/.." && pwd)
scene="$here/examples/still_life_painted.json"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

now() { date +%s.%N; }
best() { sort -n | head -n 1; }
stat() { sed -n "s/^$1: //p" "$2"; }

for run in $(seq "$runs"); do
    for threads in 1 2; do
        for kind in painted plain; do
            renderer=""
            [ "$kind" = plain ] && renderer="--renderer scanline"
            start=$(now)
            # shellcheck disable=SC2086
            "$vermil" render "$scene" --size "$size" --threads "$threads" $renderer --stats --quiet \
                -o "$out/$kind$threads.png" >"$out/$kind$threads.$run.txt"
            echo "$(now) - $start" | bc >>"$out/$kind$threads.wall"
        done
    done
done

painted1=$(best <"$out/painted1.wall")
painted2=$(best <"$out/painted2.wall")
plain1=$(best <"$out/plain1.wall")
plain2=$(best <"$out/plain2.wall")
# Stroke painting of the 1-thread painted runs, per dab pixel.
strokes=$(for run in $(seq "$runs"); do stat seconds_paint_strokes "$out/painted1.$run.txt"; done | best)
dabPixels=$(stat dab_pixels "$out/painted1.1.txt")
write=$(for run in $(seq "$runs"); do stat seconds_write "$out/painted2.$run.txt"; done | best)
bleed=$(for run in $(seq "$runs"); do stat seconds_paint_bleed "$out/painted2.$run.txt"; done | best)
render1=$(for run in $(seq "$runs"); do stat seconds_render "$out/painted1.$run.txt"; done | best)
render2=$(for run in $(seq "$runs"); do stat seconds_render "$out/painted2.$run.txt"; done | best)
shade=$(for run in $(seq "$runs"); do stat seconds_shade "$out/painted2.$run.txt"; done | best)

printf 'size %s, best of %s runs\n' "$size" "$runs"
printf 'plain   1 thread %6.2f s   2 threads %6.2f s\n' "$plain1" "$plain2"
printf 'painted 1 thread %6.2f s   2 threads %6.2f s\n' "$painted1" "$painted2"
printf 'painted / plain, 2 threads: %.2fx\n' "$(echo "$painted2 / $plain2" | bc -l)"
printf 'painted, 1 thread / 2 threads: %.2fx\n' "$(echo "$painted1 / $painted2" | bc -l)"
# The frame alone: the render, without the process's start-up and the image's writing, which
# take the same time with any thread count.
printf 'painted render alone, 1 thread %.2f s / 2 threads %.2f s: %.2fx\n' "$render1" "$render2" \
    "$(echo "$render1 / $render2" | bc -l)"
printf 'painted, 2 threads: shading %.2f s, bleeding %.2f s, writing %.2f s\n' "$shade" "$bleed" "$write"
printf 'stroke painting, 1 thread: %.2f s for %s dab pixels: %.0f ns per dab pixel\n' "$strokes" "$dabPixels" \
    "$(echo "$strokes * 1000000000 / $dabPixels" | bc -l)"
