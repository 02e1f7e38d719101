#!/usr/bin/env bash
# Builds both targets without running any test:
#   build/linux/    zigzag, KT07_Zigzag.aip, zigzag_tests (Linux x86_64)
#   build/windows/  zigzag.exe, KT07_Zigzag.aip, zigzag_tests.exe (32-bit Windows, mingw-w64, Release)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
source scripts/compiler-cache.sh

cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build/linux -j "$jobs"

# Release here, RelWithDebInfo above and Debug in the sanitized tree (scripts/build-sanitize.sh): every build type
# builds, warnings as errors.
cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake" -DZZ_NATIVE_TOOLS_DIR="$PWD/build/linux" >/dev/null
cmake --build build/windows -j "$jobs"
