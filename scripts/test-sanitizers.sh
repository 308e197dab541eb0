#!/usr/bin/env bash
# Builds the test programs with AddressSanitizer and UndefinedBehaviorSanitizer
# in ./build-asan and runs the whole test suite there. Any report of either
# sanitizer (a use after free, an overflow, a leak, undefined behaviour) fails
# the test that caused it, and so this script. Benchmarks and fuzzers are not
# built. A compiler launcher (ccache) is used when CMAKE_CXX_COMPILER_LAUNCHER
# is set in the environment.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
# -O1 keeps the instrumented tests fast; the sanitizers stay exact at that level.
cmake -S . -B build-asan \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=g++ \
  -DCMAKE_CXX_FLAGS="$sanitize -O1" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" \
  -DCMAKE_SHARED_LINKER_FLAGS="$sanitize" \
  -DCMAKE_MODULE_LINKER_FLAGS="$sanitize" \
  -DKRV_BUILD_TESTS=ON -DKRV_BUILD_BENCH=OFF -DKRV_BUILD_FUZZ=OFF >/dev/null
cmake --build build-asan -j 2

export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-asan
ctest --output-on-failure -j 2 --timeout 900
