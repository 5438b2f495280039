#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (PURGATEX_SANITIZE) in ./build-sanitize and runs every test suite under
# them, the simulated tools the suites start included. Exits non-zero when a
# test fails or a sanitizer reports.
set -euo pipefail
cd "$(dirname "$0")/.."
export PURGATEX_BUILD_DIR="${PURGATEX_SANITIZE_BUILD_DIR:-build-sanitize}"
export PURGATEX_CMAKE_ARGS="-DPURGATEX_SANITIZE=ON ${PURGATEX_CMAKE_ARGS:-}"
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# Leaks of Qt's own start-up only; see the file.
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan-qt.supp:print_suppressions=0"
bash scripts/test.sh
