#!/usr/bin/env bash
# Builds, with ThreadSanitizer (in build/linux-tsan), the test suites that start threads, and runs them: the
# workbench's queue, event hub, server and host thread with the real module (the options dialog's loop
# included), the host session's calls from other threads, the robustness cases that read from a thread, and the
# kept fuzz inputs (the workbench harness runs its host thread). Only those suites are compiled there: the rest
# start no thread, and run natively and under the other sanitizers. Extra arguments go to the test program
# (--gtest_filter='Workbench*', say).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/compiler-cache.sh

tsan="-fsanitize=thread -fno-omit-frame-pointer"
cmake -S . -B build/linux-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZZ_BENCHMARKS=OFF "${launcher[@]}" \
  "-DZZ_TESTS_MATCHING=/(Workbench[A-Za-z]*|HostSession|HostRobustness|FuzzRegression)Test\\.cpp$" \
  "-DCMAKE_C_FLAGS=$tsan" "-DCMAKE_CXX_FLAGS=$tsan" \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread \
  -DCMAKE_MODULE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build build/linux-tsan -j "${JOBS:-$(nproc)}" --target zigzag_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}" \
  build/linux-tsan/zigzag_tests "$@"
