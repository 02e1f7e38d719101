#!/usr/bin/env bash
# The main job: builds everything, starts the module in the reference host, plays examples/showcase.json (five
# drags showing colour modes, reflections, a drop shadow, a pattern tile and a warp) and writes the picture to
# out/zigzag.svg (and out/zigzag.png). Then serves the workbench, where a person draws with the tool in a
# browser: it prints "Workbench: http://127.0.0.1:PORT/?token=TOKEN" and runs in the foreground until Ctrl+C or SIGTERM.
#   PORT  the port to serve on (8407; 0 takes a free one)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh
mkdir -p out
build/linux/zigzag run examples/showcase.json --out out/showcase-report.json
rsvg-convert -b white -o out/zigzag.png out/zigzag.svg
echo "wrote out/zigzag.svg and out/zigzag.png"
echo "starting the workbench: open the address below in a browser, draw with the zigzag tool, Ctrl+C to stop"
exec build/linux/zigzag serve --host 127.0.0.1 --port "${PORT:-8407}"
