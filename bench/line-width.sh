#!/bin/sh
# The widest line stamps, from the command line: a line settings file asking for width=100000
# (held to the range's 100, with a warning) and an element at the widest in-range stamp
# (width 100, stretch 100, deform 100), each rendering one outlined sphere at 320x240.
# Prints each render's wall time next to the plain outline's, so the ratio is read in one run.
#
#   bench/line-width.sh [VERMIL]
set -eu

vermil=${1:-build/release/src/app/vermil}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

scene() {
    cat <<JSON
{
  "render": {"width": 320, "height": 240},
  "camera": {"position": [0, -6, 0], "target": [0, 0, 0]},
  "lights": [{"name": "key", "type": "directional", "position": [-3, -5, 6], "target": [0, 0, 0]}],
  "materials": [{"name": "ball", "class": "Standard", "diffuse": [0.7, 0.3, 0.2], "gbufferId": 1}],
  "objects": [{"name": "ball", "type": "sphere", "radius": 1.5, "segments": 32, "material": "ball"}],
  "effects": [{"class": "LineFxManager", "elements": [$1]}]
}
JSON
}
scene '{"type": "outline"}' >"$out/plain.json"
scene '{"type": "outline", "lineWidth": 100, "lineStretch": 100, "lineDeform": 100}' >"$out/widest.json"

mkdir -p "$out/plain-cfg" "$out/wide-cfg"
printf '[Vermil+ Line]\nwidth=100000\n' >"$out/wide-cfg/vermil+_line.ini"

now() { date +%s.%N; }
timed() {
    label=$1
    cfg=$2
    shift 2
    start=$(now)
    VERMIL_PLUGCFG_DIR="$cfg" VERMIL_DATA_DIR="$out/data" "$vermil" "$@" >"$out/$label.log" 2>&1
    printf '%-34s %6.2f s\n' "$label" "$(echo "$(now) - $start" | bc)"
}

timed "outline, default width" "$out/plain-cfg" render "$out/plain.json" -o "$out/plain.png" --quiet
timed "settings file width=100000" "$out/wide-cfg" render "$out/plain.json" -o "$out/wide.png" --quiet
grep -h "warning" "$out/settings file width=100000.log" || echo "no warning printed for the held width" >&2
timed "widest in-range stamp" "$out/plain-cfg" render "$out/widest.json" -o "$out/widest.png" --quiet
