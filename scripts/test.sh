#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test: natively, under AddressSanitizer and
# UndefinedBehaviorSanitizer, every fuzz harness for a short while (scripts/fuzz.sh), the suites that start
# threads under ThreadSanitizer, the workbench's page in chromium, and the Windows build under wine against the
# Windows module. Prints how long each stage took at the end (and at a failure, up to the stage that failed).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}

stage_names=()
stage_seconds=()
stage_started=$SECONDS
# Starts the stage named $1: prints its heading and closes the one before.
stage() {
  [ ${#stage_names[@]} -eq 0 ] || stage_seconds+=($((SECONDS - stage_started)))
  stage_names+=("$1")
  stage_started=$SECONDS
  echo "== $1"
}
stage_times() {
  local status=$? i
  [ ${#stage_seconds[@]} -lt ${#stage_names[@]} ] && stage_seconds+=($((SECONDS - stage_started)))
  echo "== stage times (s)"
  for i in "${!stage_names[@]}"; do
    printf '%6d  %s\n' "${stage_seconds[$i]}" "${stage_names[$i]}"
  done
  printf '%6d  total (%d min)%s\n' "$SECONDS" $((SECONDS / 60)) "$([ $status -eq 0 ] || echo ", FAILED in the last stage")"
}
trap stage_times EXIT

stage "installing what is missing"
scripts/install-deps.sh
stage "building both targets"
scripts/build.sh

stage "module checks"
scripts/check-modules.sh

stage "layer checks"
scripts/check-layers.sh build/linux

stage "function lengths"
scripts/check-function-length.sh

stage "native tests (each case a CTest test: a failure is named in the summary at the end)"
ctest --test-dir build/linux --output-on-failure -j "$jobs"

stage "the workbench in chromium (zigzag serve driven by playwright-core)"
# npm trusts the system's certificate authorities too, so that a machine whose connections pass through a
# proxy of its own authority can still reach the registry.
export NODE_EXTRA_CA_CERTS="${NODE_EXTRA_CA_CERTS:-/etc/ssl/certs/ca-certificates.crt}"
browser_tests="run"
if (cd tests/browser && npm ci --no-audit --no-fund --loglevel=error); then
  (cd tests/browser && ZIGZAG="$PWD/../../build/linux/zigzag" CHROMIUM="${CHROMIUM:-/usr/bin/chromium}" npm test)
elif [ -n "${ZZ_REQUIRE_BROWSER_TESTS:-}" ]; then
  echo "test: playwright-core could not be installed from the npm registry (npm's error above)" >&2
  exit 1
else
  browser_tests="NOT RUN: playwright-core could not be installed from the npm registry (npm's error above)"
  echo "== browser tests $browser_tests"
fi

stage "SVG pictures of every exported feature, drawn by rsvg-convert and inkscape alike"
rm -rf out/renderings
build/linux/svg_renderings out/renderings >/dev/null
scripts/check-renderings.sh out/renderings

stage "the tool's own pictures: the showcase and every finishing option in gray, RGB and CMYK documents"
rm -rf out/renderings-tool
mkdir -p out/renderings-tool
build/linux/zigzag run examples/showcase.json --out out/showcase-report.json
cp out/zigzag.svg out/renderings-tool/showcase.svg
every_option=(--from 100,500 --to 300,100 --events 4 --seed 9 --page 500,600 --swatches 9 --styles 4
  --set separateElements=1 --set zigzagElements=5 --set numberOfReflections=3 --set dropShadow=1
  --set patternMode=4 --set randomWarp=1 --set fillColorMode=6 --set strokeColorMode=12 --set randomWidth=1
  --set randomOpacity=1 --set jitterFill=1 --set jitterStroke=1 --set jitterWidth=1 --set randomRotation=1
  --set randomScaling=1 --set randomStyle=1 --set pressureStyleFactor=1 --set symbolizeZigzag=1
  --set styleToReflect=1 --set repeatColorMode=4 --set reflectShiftX=20 --set reflectTurn=15)
for model in gray rgb cmyk; do
  build/linux/zigzag draw "${every_option[@]}" --color-model "$model" -o "out/renderings-tool/every-option-$model.svg"
done
build/linux/zigzag draw "${every_option[@]}" --set randomBlendMode=1 -o out/renderings-tool/every-option-blend-rgb.svg
scripts/check-renderings.sh out/renderings-tool

# Every build type builds: RelWithDebInfo (build/linux), Release (build/windows) and Debug (here).
stage "native tests under AddressSanitizer + UndefinedBehaviorSanitizer (clang-14; the same tree holds the fuzzers)"
scripts/build-sanitize.sh
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/linux-sanitize --output-on-failure -j "$jobs"

stage "fuzzing: every harness for a short while (clang-14, libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer)"
scripts/fuzz.sh

stage "the suites that start threads under ThreadSanitizer"
scripts/test-workbench-tsan.sh

stage "Windows tests under wine"
export WINEPREFIX="$PWD/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
(cd build/windows && wine ./zigzag_tests.exe)

stage "zigzag validate at strictness 5: the Linux module, then the Windows module under wine, reports compared"
build/linux/zigzag validate --strictness 5 --windows --junit build/validate-junit.xml --json build/validate.json

stage "the same reports on both targets"
scripts/check-targets.sh

echo "== all tests passed (browser tests: $browser_tests)"
