#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer), writes their
# seed corpora from the project's generator and packer, and runs every target for SECONDS seconds, at most
# VX_FUZZ_JOBS (default 2) at a time. Then reports per target: executions, coverage (cov/ft), crashes,
# hangs (over 1 s per input, 10 s for the search), leaks and out-of-memory. Exits non-zero when any target found something.
#
#   fuzz/run.sh 600                      every target for ten minutes
#   fuzz/run.sh 60 fuzz_art fuzz_catalog only these targets
#
# The corpora grow in build-fuzz/corpus/<target> from run to run; inputs that fail land in
# build-fuzz/findings/<target>/ (crash-*, timeout-*, leak-*, oom-*) and the log in build-fuzz/logs/.
# Reproduce one with: QT_QPA_PLATFORM=offscreen build-fuzz/fuzz/<target> <file>
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
    sed -n '2,12p' "$0" >&2
    exit 2
fi
seconds=$1
shift

scripts/deps.sh --fuzz
build=build-fuzz
cmake --preset fuzz >/dev/null
nice -n 10 cmake --build --preset fuzz -j2

all_targets=(fuzz_wghaupt fuzz_wgober fuzz_wggruppe fuzz_art fuzz_catalog fuzz_huffman fuzz_lzss
             fuzz_runlength_entry fuzz_runlength_temp fuzz_unpack fuzz_matcher fuzz_ordercsv)
targets=("${all_targets[@]}")
[ $# -gt 0 ] && targets=("$@")

# Inputs above these sizes teach nothing new and only slow the targets down.
declare -A max_len=([fuzz_wghaupt]=4096 [fuzz_wgober]=4096 [fuzz_wggruppe]=4096 [fuzz_art]=16384
                    [fuzz_catalog]=16384 [fuzz_huffman]=16384 [fuzz_lzss]=16384 [fuzz_runlength_entry]=8192
                    [fuzz_runlength_temp]=8192 [fuzz_unpack]=65536 [fuzz_matcher]=512
                    [fuzz_ordercsv]=16384)
# A pattern may backtrack up to the match limit on each of a few dozen fields, as it would in
# QRegularExpression; the search's own growth is checked by the target itself.
declare -A timeout=([fuzz_matcher]=10)

rm -rf "$build/seeds"
"$build/fuzz/vxfuzzseeds" "$build/seeds"
mkdir -p "$build/logs"

export QT_QPA_PLATFORM=offscreen
# The targets write their files anew for every input; on a disk file system each rewrite of a truncated
# file waits for the disk, so they work in memory where they can.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0

run_target() { # target
    local t=$1
    rm -rf "$build/findings/$t"
    mkdir -p "$build/corpus/$t" "$build/findings/$t"
    [ -x "$build/fuzz/$t" ] || { echo "no such target: $t" >"$build/logs/$t.log"; return; }
    nice -n 10 "$build/fuzz/$t" -max_total_time="$seconds" -timeout="${timeout[$t]:-1}" -rss_limit_mb=2048 \
        -malloc_limit_mb=1024 -max_len="${max_len[$t]:-16384}" -print_final_stats=1 \
        -artifact_prefix="$build/findings/$t/" "$build/corpus/$t" "$build/seeds/$t" \
        >"$build/logs/$t.log" 2>&1 || true
}

jobs=${VX_FUZZ_JOBS:-2}
for t in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
        wait -n || true
    done
    echo "fuzzing $t for ${seconds}s"
    run_target "$t" &
done
wait

# Findings by the artifacts libFuzzer leaves (one run stops at its first finding), by the log when a
# failure came before any input (in the target's initialisation).
found() { # artifact prefix, log pattern, target
    local files n
    files=$(find "$build/findings/$3" -name "$1-*" | wc -l)
    n=$(grep -c -E "$2" "$build/logs/$3.log" 2>/dev/null) || true
    [ "${n:-0}" -gt 0 ] && [ "$files" -eq 0 ] && files=1
    echo "$files"
}

failed=0
bad=0
printf '%-21s %12s %8s %8s %7s %6s %6s %5s\n' target executions cov ft crashes hangs leaks oom
for t in "${targets[@]}"; do
    log=$build/logs/$t.log
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 || true)
    cov=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    crashes=$(found crash 'ERROR: (AddressSanitizer|libFuzzer: deadly signal|libFuzzer: fuzz target exited)|runtime error:' "$t")
    hangs=$(found timeout 'ERROR: libFuzzer: timeout' "$t")
    leaks=$(found leak 'ERROR: LeakSanitizer' "$t")
    ooms=$(found oom 'ERROR: libFuzzer: out-of-memory' "$t")
    printf '%-21s %12s %8s %8s %7s %6s %6s %5s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$crashes" "$hangs" \
        "$leaks" "$ooms"
    if [ -z "$execs" ] || [ $((crashes + hangs + leaks + ooms)) -gt 0 ]; then
        failed=1
        bad=$((bad + 1))
        echo "  see $log and $build/findings/$t/"
    fi
done
echo "fuzz: $((${#targets[@]} - bad)) passed, $bad failed"
exit $failed
