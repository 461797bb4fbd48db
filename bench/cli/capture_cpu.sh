#!/usr/bin/env bash
# CPU ÷ wall of `trellicap-cli capture` during a paced batch: the simulator answers at
# 9600 baud, byte by byte, and the tool should sleep while the bytes come.
#   bench/cli/capture_cpu.sh BUILD_DIR [SLOTS [BURST]]    e.g. bench/cli/capture_cpu.sh build 1-5 8
# BURST: bytes the simulator hands over at a time (1, a built-in port; 8, a USB adapter).
# TRELLICAP_CLI=path measures another build of the tool against the same simulator.
set -euo pipefail
build=${1:?build folder}
slots=${2:-1-5}
burst=${3:-1}
sim="$build/tools/instrument-sim/instrument-sim"
cli=${TRELLICAP_CLI:-"$build/src/cli/trellicap-cli"}
work=$(mktemp -d)
trap 'kill "$simpid" 2>/dev/null || true; rm -rf "$work"' EXIT
for model in tft dac; do
    mkfifo "$work/in-$model"
    exec 3<>"$work/in-$model"
    "$sim" --model "$model" --burst "$burst" <"$work/in-$model" >"$work/out-$model" 2>&1 &
    simpid=$!
    for _ in $(seq 50); do [ -s "$work/out-$model" ] && break; sleep 0.1; done
    pty=$(head -n 1 "$work/out-$model")
    /usr/bin/env time -f "%U %S %e" -o "$work/time-$model" \
        "$cli" capture --port "$pty" --model "$model" --slots "$slots" \
        -o "$work/$model.dat" 2>/dev/null
    read -r user sys wall <"$work/time-$model"
    awk -v m="$model" -v u="$user" -v s="$sys" -v w="$wall" \
        'BEGIN { printf "%s: wall %.2f s, CPU %.3f s, CPU / wall %.4f\n", m, w, u + s, (u + s) / w }'
    kill "$simpid" 2>/dev/null || true
    exec 3>&-
done
