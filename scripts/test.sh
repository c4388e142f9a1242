#!/usr/bin/env bash
# Installs what is missing, builds Vendrix with warnings as errors and runs the whole test suite.
# With --sanitize the suite is built and run once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)

run_suite() { # build directory, extra CMake options...
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DVENDRIX_WERROR=ON "$@"
    cmake --build "$dir" -j"$jobs"
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")
}

if [ "${1:-}" = "--sanitize" ]; then
    # Every report ends its test with a failure: ASan and LSan abort, UBSan halts (the build also passes
    # -fno-sanitize-recover). Leaks count; scripts/lsan.supp may name third-party leaks only.
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1:strict_string_checks=1:check_initialization_order=1:strict_init_order=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
    run_suite build-sanitize -DVENDRIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
    run_suite build
fi
