#!/usr/bin/env bash
# The main job: builds everything, starts the module in the reference host, plays examples/showcase.json (five
# drags showing colour modes, reflections, a drop shadow, a pattern tile and a warp) and writes the picture to
# out/zigzag.svg (and out/zigzag.png).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh
mkdir -p out
build/linux/zigzag run examples/showcase.json --out out/showcase-report.json
rsvg-convert -b white -o out/zigzag.png out/zigzag.svg
echo "wrote out/zigzag.svg and out/zigzag.png"
