#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test: natively, under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows build under wine against the Windows module.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}

scripts/install-deps.sh
scripts/build.sh

echo "== module checks"
scripts/check-modules.sh

echo "== layer checks"
scripts/check-layers.sh build/linux

echo "== native tests"
(cd build/linux && ./zigzag_tests)

echo "== SVG pictures of every exported feature, drawn by rsvg-convert and inkscape alike"
rm -rf out/renderings
build/linux/svg_renderings out/renderings >/dev/null
scripts/check-renderings.sh out/renderings

echo "== Release build (every build type builds)"
cmake -S . -B build/linux-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZZ_BENCHMARKS=OFF >/dev/null
cmake --build build/linux-release -j "$jobs"

echo "== native tests under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build/linux-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZZ_SANITIZE=ON >/dev/null
cmake --build build/linux-sanitize -j "$jobs"
(cd build/linux-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ./zigzag_tests)

echo "== Windows tests under wine"
export WINEPREFIX="$PWD/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
(cd build/windows && wine ./zigzag_tests.exe)

echo "== the same reports on both targets"
scripts/check-targets.sh

echo "== all tests passed"
