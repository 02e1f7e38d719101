#!/usr/bin/env bash
# Plays the same session scripts with the Linux host and module and with the Windows host and module under wine,
# and checks that the two reports agree: art, settings, dialogs and their snapshots, bit for bit. Only the
# globals block's size may differ, since the settings record holds two pointer-sized host words.
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
