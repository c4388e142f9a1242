#!/usr/bin/env bash
# Installs what is missing, builds Vendrix with warnings as errors and runs the whole test suite.
# With --sanitize the suite is built and run once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
# The validators check the installed desktop files.
scripts/deps.sh desktop-file-utils appstream libxml2-utils

preset=default
if [ "${1:-}" = "--sanitize" ]; then
    preset=sanitize
    # Every report ends its test with a failure: ASan and LSan abort, UBSan halts (the build also passes
    # -fno-sanitize-recover). Leaks count; scripts/lsan.supp may name third-party leaks only.
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1:strict_string_checks=1:check_initialization_order=1:strict_init_order=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
fi
cmake --preset "$preset"
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
