#!/usr/bin/env bash
# Builds the sanitized tree, build/linux-sanitize: clang-14 with AddressSanitizer and UndefinedBehaviorSanitizer
# (Debug, at -O1 as the sanitizers' authors advise), holding both the test program that scripts/test.sh runs
# under the sanitizers and the libFuzzer harnesses that scripts/fuzz.sh runs. One tree serves both, so the host
# is compiled once for them.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/compiler-cache.sh
cmake -S . -B build/linux-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZZ_SANITIZE=ON -DZZ_FUZZ=ON \
  -DZZ_BENCHMARKS=OFF -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_C_COMPILER=clang-14 "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_C_FLAGS_DEBUG="-O1 -g" >/dev/null
cmake --build build/linux-sanitize -j "${JOBS:-$(nproc)}"
