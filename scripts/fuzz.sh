#!/usr/bin/env bash
# Runs each libFuzzer harness (fuzz/) for a fixed time from its seeds: the kept session scripts and examples, the
# built module's resources, the small seeds under fuzz/corpus/ and every kept regression input. The harnesses are
# built by scripts/build-sanitize.sh (clang-14, AddressSanitizer and UndefinedBehaviorSanitizer) in
# build/linux-sanitize, beside the sanitized tests. As many harnesses run at once as there are cores, each on one.
# Prints, per harness, the executions, executions per second, the coverage libFuzzer reached (cov: edges, ft:
# features) and the peak memory. Fails on any crash, leak, hang, out-of-memory (over 2 GB) or broken promise; the
# input is kept under build/linux-sanitize/findings/HARNESS/, to go to fuzz/regressions/HARNESS/ with its fix. An
# input over FUZZ_TIMEOUT s (60, wall-clock time: a kept script of 151 dialog actions takes 7 s of CPU under the
# sanitizers, and over a minute on a loaded machine) is played again alone with twice the time; it fails the run
# only when it times out again.
#
#   FUZZ_SECONDS=N   seconds per harness (25)
#   FUZZ_TIMEOUT=N   seconds one input may take (60)
#   FUZZ_TARGETS=".."  the harnesses to run (all: script document settings dialog module formats requests
#                      workbench)
#   JOBS=N           harnesses run at once (the number of cores)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-25}
timeout=${FUZZ_TIMEOUT:-60}
targets=${FUZZ_TARGETS:-script document settings dialog module formats requests workbench}
build=build/linux-sanitize
jobs=${JOBS:-$(nproc)}

scripts/build-sanitize.sh

# Seeds, made afresh from what the repository and the build hold.
seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{script,document,settings,dialog,module,formats,requests,workbench}
cp tests/scripts/*.json examples/*.json "$seeds/script/"
"$build/fuzz_seeds" "$seeds" "$build/KT07_Zigzag.aip" >/dev/null
for dir in fuzz/corpus/*/; do
  name=$(basename "$dir")
  cp "$dir"* "$seeds/$name/" 2>/dev/null || true
done

# Whether harness $1's time-out inputs in $2 still time out when played alone with twice the time.
hangs() {
  local input
  for input in "$2"/timeout-*; do
    [ -e "$input" ] || continue
    "$build/fuzz_$1" -timeout=$((timeout * 2)) -close_fd_mask=1 -rss_limit_mb=2048 "$input" \
      >"$input.replay.log" 2>&1 || return 0
  done
  return 1
}

# Runs harness $1 and writes its line of the table to $build/fuzz-$1.line; fails when it found a fault.
fuzz_one() {
  local name=$1 corpus=$build/corpus/$1 findings=$build/findings/$1 log=$build/fuzz-$1.log status=0
  mkdir -p "$corpus" "$findings"
  local inputs=("$corpus" "$seeds/$name")
  [ -d "fuzz/regressions/$name" ] && inputs+=("fuzz/regressions/$name")
  # The harness's own output (the module's alerts, say) is not libFuzzer's: closed (-close_fd_mask=1).
  "$build/fuzz_$name" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=2048 -malloc_limit_mb=2048 \
    -print_final_stats=1 -close_fd_mask=1 -artifact_prefix="$findings/" "${inputs[@]}" >"$log" 2>&1 || status=$?
  final() { sed -n "s/^stat::$1: *//p" "$log" | tail -1; }
  local line cov ft
  line=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$line")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$line")
  printf '%-10s %10s %8s %8s %10s %8s\n' "$name" "$(final number_of_executed_units)" \
    "$(final average_exec_per_sec)" "${cov:-?}" "${ft:-?}" "$(final peak_rss_mb)" >"$build/fuzz-$name.line"
  # A time-out is played again alone, with twice the time: an input that then ends was slow on a loaded
  # machine (kept and named, not failed); one that times out again hangs, and fails the run.
  if [ "$status" -ne 0 ] && grep -q 'ERROR: libFuzzer: timeout' "$log" && ! hangs "$name" "$findings"; then
    echo "fuzz: $name: an input ran over ${timeout} s but ended when played alone (slow, not hung);" \
      "it is in $findings, the log in $log" >&2
  elif [ "$status" -ne 0 ]; then
    echo "fuzz: $name found a fault (exit status $status); its input is in $findings, the log in $log:" >&2
    grep -E 'ERROR|SUMMARY|^==|Test unit written|fuzz_|: .*(refusal|report|answer|host)' "$log" | head -20 >&2
    return 1
  fi
}

# The harnesses, $jobs at a time.
declare -A running=()
failed=()
# Waits for one running harness to end and notes it when it failed.
reap_one() {
  local pid status=0
  wait -n -p pid || status=$?
  [ "$status" -eq 0 ] || failed+=("${running[$pid]}")
  unset "running[$pid]"
}
for name in $targets; do
  while [ ${#running[@]} -ge "$jobs" ]; do reap_one; done
  fuzz_one "$name" &
  running[$!]=$name
done
while [ ${#running[@]} -gt 0 ]; do reap_one; done

printf '%-10s %10s %8s %8s %10s %8s\n' harness execs exec/s cov ft peak_MB
for name in $targets; do
  cat "$build/fuzz-$name.line" 2>/dev/null || echo "$name: no result"
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: every harness ran ${seconds} s without a fault"
