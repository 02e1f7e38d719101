#!/usr/bin/env bash
# The main job: builds everything, starts the module in the reference host, drags the zigzag tool across the page
# and writes the picture to out/zigzag.svg (and out/zigzag.png).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh
mkdir -p out
build/linux/zigzag draw --from 150,650 --to 450,150 --events 10 --set zigzagElements=12 -o out/zigzag.svg
rsvg-convert -o out/zigzag.png out/zigzag.svg
echo "wrote out/zigzag.svg and out/zigzag.png"
