#!/usr/bin/env bash
# Builds QuoteShow and its tests with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, then runs every test except the end-to-end ones
# (those drive a real X server and are run on the normal build). The first
# error report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build="$root/build-asan"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

cmake -S . -B "$build" \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-O1 $sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" \
  -DCMAKE_SHARED_LINKER_FLAGS="$sanitize" \
  -DQUOTESHOW_BUILD_TESTS=ON -DQUOTESHOW_BUILD_FUZZ=OFF -DQUOTESHOW_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2

# Leaks are checked at every test's exit; the suppressions name only leaks in
# the font and bus libraries Qt loads, never the program's code.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer-suppressions/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

ctest --test-dir "$build" -LE e2e --no-tests=error --output-on-failure -j2 --timeout 300
