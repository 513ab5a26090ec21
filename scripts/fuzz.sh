#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address and undefined-behaviour sanitizers)
# and runs each for FUZZ_SECONDS (default 30). An input that crashes a target is kept in
# tests/fuzz/TARGET/, where the ordinary test run replays it; the exit status is then 1.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
dir=${FUZZ_BUILD:-build-fuzz}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DCPS_FUZZ=ON -DCPS_BUILD_GUI=OFF "$@" >/dev/null
cmake --build "$dir" --target cps_fuzz -j"$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/.ci/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for fuzzer in "$dir"/bin/*_fuzz; do
    name=$(basename "$fuzzer" _fuzz)
    corpus=$dir/corpus/$name
    found=tests/fuzz/$name
    mkdir -p "$corpus" "$found"
    echo "fuzz: $name for ${seconds}s"
    # New inputs go to the first folder, the build's corpus; seeds and old finds start it.
    if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$found/" -print_final_stats=1 \
        "$corpus" "fuzz/seeds/$name" "$found" 2>"$dir/$name.log"; then
        tail -n 40 "$dir/$name.log"
        echo "fuzz: $name failed; the input is in $found/"
        status=1
    else
        grep -E "stat::number_of_executed_units|stat::new_units_added" "$dir/$name.log" || true
    fi
done
exit $status
