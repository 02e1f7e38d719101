#!/usr/bin/env bash
# Plays the same session scripts with the Linux host and module and with the Windows host and module under wine,
# and checks that the two reports agree: art, settings, dialogs and their snapshots, bit for bit. Only the
# globals block's size may differ, since the settings record holds two pointer-sized host words. Then draws
# turned, reflected and warped art (every warp style) with `zigzag draw` on both and checks that the SVGs are the
# same file, and that the host's own maths gives the same bits on both over its test inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "check-targets: $*" >&2; exit 1; }
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count=0
for script in tests/scripts/*.json; do
  build/linux/zigzag run "$script" --out "$work/linux.json" || fail "$script: the Linux host failed"
  wine build/windows/zigzag.exe run "$script" --out "$work/windows.json" || fail "$script: the Windows host failed"
  grep -v '^ *"size": [0-9]*,\?$' "$work/linux.json" > "$work/linux.cmp"
  grep -v '^ *"size": [0-9]*,\?$' "$work/windows.json" > "$work/windows.cmp"
  diff -q "$work/linux.cmp" "$work/windows.cmp" >/dev/null ||
    fail "$script: the reports differ:\n$(diff "$work/linux.cmp" "$work/windows.cmp" | head -20)"
  count=$((count + 1))
done
echo "check-targets: $count session scripts give the same report on Linux and on Windows"

# Each line: the options of one `zigzag draw`. A seed picks the random warp's style: the seeds below give styles
# 1 to 15 in turn.
draws=(
  "--to 200,400 --set initialAngle=19"
  "--to 200,400 --set initialAngle=-135 --set separateElements=1 --set zigzagElements=3"
  "--to 200,400 --set initialAngle=359.9 --set separateElements=1 --set zigzagElements=3"
  "--to 200,400 --set initialAngle=-271.3"
  "--to 200,400 --seed 5 --set randomRotation=1 --set separateElements=1 --set zigzagElements=6"
  "--to 200,400 --pressure 77 --set pressureRotation=1 --set separateElements=1 --set zigzagElements=4"
  "--to 200,400 --set numberOfReflections=4 --set reflectTurn=33 --set reflectShiftX=15 --set alternateAngle=0"
  "--to 200,400 --set numberOfReflections=3 --set reflectTurn=-71.3 --set reflectVertical=1 --set reflectScalingX=80"
  "--to 200,400 --set numberOfReflections=2 --set reflectHorizontal=1 --set initialAngle=27"
)
for seed in 7 17 6 2 35 29 16 23 101 1 20 3 8 9 30; do
  draws+=("--to 120,300 --seed $seed --set randomWarp=1")
done
draws+=("--from 100,500 --to 300,100 --events 4 --seed 9 --page 500,600 --swatches 9 --styles 4
  --set separateElements=1 --set zigzagElements=5 --set numberOfReflections=3 --set dropShadow=1
  --set patternMode=4 --set randomWarp=1 --set fillColorMode=6 --set strokeColorMode=12 --set randomRotation=1
  --set randomScaling=1 --set reflectShiftX=20 --set reflectTurn=15 --set initialAngle=19")
for options in "${draws[@]}"; do
  # shellcheck disable=SC2086 # the options are words
  build/linux/zigzag draw $options -o "$work/linux.svg" >/dev/null || fail "zigzag draw $options: the Linux host failed"
  # shellcheck disable=SC2086
  wine build/windows/zigzag.exe draw $options -o "$work/windows.svg" >/dev/null ||
    fail "zigzag draw $options: the Windows host failed"
  cmp -s "$work/linux.svg" "$work/windows.svg" ||
    fail "zigzag draw $options: the SVGs differ:\n$(diff "$work/linux.svg" "$work/windows.svg" | head -10)"
done
echo "check-targets: ${#draws[@]} turned, reflected and warped drawings are the same SVG on Linux and on Windows"

digest=$(cd build/linux && ./zigzag_tests --gtest_filter='PortableMath.EveryResultHasTheSameBitsOnEveryTarget' |
  sed -n 's/^portable math digest: //p')
[ -n "$digest" ] || fail "the Linux tests printed no digest of the host's maths"
(cd build/windows && ZZ_MATH_DIGEST="$digest" wine ./zigzag_tests.exe \
  --gtest_filter='PortableMath.EveryResultHasTheSameBitsOnEveryTarget' >"$work/math.log") ||
  fail "the host's maths differs on Windows:\n$(grep -A3 'Failure' "$work/math.log")"
echo "check-targets: the host's sine, cosine, arc tangent and exponential give the same bits on both (digest $digest)"
