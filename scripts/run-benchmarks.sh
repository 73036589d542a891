#!/usr/bin/env bash
# Runs every benchmark program in the given folder.
set -euo pipefail
bin=${1:-build-bench/bin}
status=0
for b in "$bin"/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" || status=1
done
exit $status
