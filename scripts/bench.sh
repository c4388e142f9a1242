#!/usr/bin/env bash
# Builds Vendrix optimised in build-bench/ and runs its benchmarks: generates catalogs of 10,000, 200,000 and
# 1,000,000 articles with their archives under build-bench/bench-data (kept for the next run), measures the
# program on them beside reference commands timed in the same run, prints a table and writes
# bench/results.json. Arguments go to vxbench:
#
#   scripts/bench.sh                               all sizes, best of 3 runs
#   scripts/bench.sh --sizes 10000,200000 --runs 5
#   scripts/bench.sh --only session                only the 20-minute random session (on request only)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j"$(nproc)"
# The offscreen platform warns about what it cannot do (size hints, raising a window and grabbing the
# keyboard for a popup menu) and about a missing runtime directory; none of it says anything about the
# results, so only other messages reach the terminal.
quiet() { grep -v -e 'This plugin does not support' -e 'XDG_RUNTIME_DIR not set' >&2 || true; }
build-bench/bench/vxbench --data build-bench/bench-data --json bench/results.json "$@" 2> >(quiet)
