#!/usr/bin/env bash
# Builds the test program with ThreadSanitizer (in build/linux-tsan) and runs all of it: the workbench's queue,
# event hub and host thread with the real module (the options dialog's loop included) and every other test of
# the host and the module. Extra arguments go to the test program (--gtest_filter='Workbench*', say).
set -euo pipefail
cd "$(dirname "$0")/.."

tsan="-fsanitize=thread -fno-omit-frame-pointer"
cmake -S . -B build/linux-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZZ_BENCHMARKS=OFF \
  "-DCMAKE_C_FLAGS=$tsan" "-DCMAKE_CXX_FLAGS=$tsan" \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread \
  -DCMAKE_MODULE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build build/linux-tsan -j2 --target zigzag_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}" \
  build/linux-tsan/zigzag_tests "$@"
