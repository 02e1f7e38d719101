#!/usr/bin/env bash
# Checks that the build enforces the layers: every probe (a source in a lower layer, or in the plug-in, that
# includes a header of a higher layer or of the host) must fail to compile because the header is not on its
# include path. Needs a configured build tree (default build/linux).
set -euo pipefail
cd "$(dirname "$0")/.."
tree=${1:-build/linux}
fail() { echo "check-layers: $*" >&2; exit 1; }

[ -f "$tree/layer-probes/list.txt" ] || fail "$tree is not a configured build tree"
IFS=";" read -r -a probes < "$tree/layer-probes/list.txt" || true
[ ${#probes[@]} -gt 0 ] || fail "no layer probes configured"
for probe in "${probes[@]}"; do
  if output=$(cmake --build "$tree" --target "$probe" 2>&1); then
    fail "$probe compiled: a layer reaches a header it must not see"
  fi
  grep -q 'No such file or directory' <<<"$output" || fail "$probe failed for another reason:\n$output"
done
echo "check-layers: ${#probes[@]} probes, each refused a header of a higher layer"
