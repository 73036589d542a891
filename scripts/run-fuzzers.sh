#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build tree for a while, over its seed
# corpus in fuzz/corpus/NAME. New inputs and crash reproducers go to
# BUILD_DIR/findings/NAME, never into the tree. Fails when a target crashes.
# Usage: run-fuzzers.sh BUILD_DIR SECONDS [JOBS] [NAME...]
set -euo pipefail

build=${1:?usage: run-fuzzers.sh BUILD_DIR SECONDS [JOBS] [NAME...]}
seconds=${2:?usage: run-fuzzers.sh BUILD_DIR SECONDS [JOBS] [NAME...]}
jobs=${3:-1}
shift $(( $# < 3 ? $# : 3 ))
manifest=$build/fuzzers.tsv
[ -f "$manifest" ] || { echo "no $manifest: build the fuzz tree first (make fuzz)" >&2; exit 2; }

# One target: its summary line on success, its log's end and the reproducer on a crash.
run_one() {
  local name=$1 program=$2 corpus=$3 args=$4
  local scratch=$build/findings/$name
  mkdir -p "$scratch/corpus" "$scratch/crashes"
  # shellcheck disable=SC2086  # args are separate libFuzzer flags
  if "$program" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$scratch/crashes/" $args "$scratch/corpus" "$corpus" >"$scratch/log" 2>&1; then
    local runs cov
    runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 runs in \2 s/p' "$scratch/log" | tail -1)
    cov=$(grep -o 'cov: [0-9]* ft: [0-9]* corp: [^ ]*' "$scratch/log" | tail -1)
    printf '%-24s %s, %s\n' "$name" "${runs:-?}" "${cov:-no coverage line}"
  else
    echo "FUZZ FAILURE in $name (log: $scratch/log):"
    tail -40 "$scratch/log"
    echo "reproduce with: $program $scratch/crashes/<file>"
    return 1
  fi
}

failures=$build/findings/failed
rm -rf "$failures"
mkdir -p "$failures"
while IFS=$'\t' read -r name program corpus args; do
  [ -n "$name" ] || continue
  if [ $# -gt 0 ]; then
    wanted=0
    for n in "$@"; do [ "$n" = "$name" ] && wanted=1; done
    [ $wanted -eq 1 ] || continue
  fi
  { run_one "$name" "$program" "$corpus" "$args" || touch "$failures/$name"; } &
  # Keep at most $jobs targets running.
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
done <"$manifest"
wait
if [ -n "$(ls -A "$failures")" ]; then
  echo "fuzz targets that failed: $(ls "$failures" | tr '\n' ' ')" >&2
  exit 1
fi
