#!/usr/bin/env bash
# Starts watchkeep. Until the GUI and the simulator are built, says what it will do.
set -euo pipefail
bin=${1:-build/bin}
if [ ! -x "$bin/watchkeep" ]; then
  echo "watchkeep (the GUI) is not built yet. Once it is, 'make run' starts gz4410-sim"
  echo "on a pseudo-terminal and the GUI with its \"Port\" setting pointed at it."
  echo "Meanwhile: $bin/watchkeep-cli --help"
  exit 0
fi
exec "$bin/watchkeep" "$@"
