#!/bin/sh
# What a command costs before any work of its own, from the command line as a user runs it:
# `vermil --version`, and a small render of a scene without image textures written to PNG (which
# needs no image library) and of one with a texture (which loads it). Prints the best wall time
# of each, with its peak resident set.
#
#   bench/start-up.sh [VERMIL] [RUNS]
#
# Defaults: build/release/src/app/vermil, 5 runs. Needs /usr/bin/time (GNU time).
set -eu

vermil=${1:-build/release/src/app/vermil}
runs=${2:-5}
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

measure() {
    name=$1
    shift
    for run in $(seq "$runs"); do
        /usr/bin/time -f "%e %M" -o "$out/$name.$run" "$@" >/dev/null
        cat "$out/$name.$run" >>"$out/$name"
    done
    sort -n "$out/$name" | head -n 1 | awk -v n="$name" '{printf "%-34s %6.2f s %8.1f MB\n", n, $1, $2 / 1024}'
}

measure "version" "$vermil" --version
measure "render without textures (PNG)" "$vermil" render "$here/examples/multipass.json" --size 320x180 \
    --quiet -o "$out/plain.png"
measure "render with a texture (PNG)" "$vermil" render "$here/examples/still_life_painted.json" \
    --size 320x180 --quiet -o "$out/textured.png"
