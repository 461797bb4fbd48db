#!/usr/bin/env bash
# Instructions per call of the load, the parse and their naive yardsticks, counted by callgrind
# over the benchmark program (timing on a shared machine is noisy; instruction counts are not).
#   bench/storage/callgrind_counts.sh build/bench/storage/storage_record_file_bench
set -euo pipefail
bench=${1:?usage: $0 PATH_TO_storage_record_file_bench}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

count() {  # benchmark, function as callgrind names it (without its arguments)
    valgrind --tool=callgrind --callgrind-out-file="$out/cg" --toggle-collect="$2(*" \
        "$bench" --benchmark_filter="^$1/" --benchmark_min_time=0.01 \
        --benchmark_out="$out/csv" --benchmark_out_format=csv >/dev/null 2>&1
    local total calls
    total=$(callgrind_annotate "$out/cg" | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}')
    # Every iteration of every repetition calls the function once; the aggregates are not runs.
    calls=$(awk -F, '/^"'"$1"'\/repeats:[0-9]+",/ {n += $2} END {print n}' "$out/csv")
    printf '%-20s %10d instructions per call (%d calls)\n' "$1" $((total / calls)) "$calls"
}

count BM_NaiveLoad 'trellicap::bench::naiveLoad'
count BM_LoadRecordFile 'trellicap::loadRecordFile'
count BM_NaiveParse 'trellicap::bench::naiveParse'
count BM_ParseTable 'trellicap::readRecordFile'
