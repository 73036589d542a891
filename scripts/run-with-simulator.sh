#!/usr/bin/env bash
# Starts watchkeep. Once gz4410-sim is built, starts it first and points this
# run's "Port" at the simulator's pseudo-terminal. The run gets a private
# settings folder (XDG_CONFIG_HOME) holding a copy of the user's settings with
# "Port" changed, so the user's own settings are never touched; the copy and
# the simulator go when the program ends.
# Usage: run-with-simulator.sh [BIN_DIR] [watchkeep arguments...]
set -euo pipefail
bin=${1:-build/bin}
[ $# -gt 0 ] && shift

if [ ! -x "$bin/watchkeep" ]; then
  echo "watchkeep is not built in $bin: run 'make build' first." >&2
  exit 1
fi
if [ ! -x "$bin/gz4410-sim" ]; then
  echo "gz4410-sim is not built yet: starting watchkeep alone, on your own settings."
  exec "$bin/watchkeep" "$@"
fi

run=$(mktemp -d "${TMPDIR:-/tmp}/watchkeep-run.XXXXXX")
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$run"
}
trap cleanup EXIT

# The simulator keeps its memories from one run to the next, like a real
# controller, and says its pseudo-terminal on the first line of its output.
state_dir="${XDG_DATA_HOME:-$HOME/.local/share}/watchkeep"
mkdir -p "$state_dir"
"$bin/gz4410-sim" --state "$state_dir/gz4410-sim.state" >"$run/sim.out" 2>"$run/sim.err" &
sim_pid=$!
pty=""
for _ in $(seq 100); do
  pty=$(head -n 1 "$run/sim.out" 2>/dev/null || true)
  [ -n "$pty" ] && [ "$(wc -l <"$run/sim.out")" -ge 1 ] && break
  kill -0 "$sim_pid" 2>/dev/null || break
  pty=""
  sleep 0.1
done
if [ -z "$pty" ]; then
  echo "gz4410-sim did not say its pseudo-terminal:" >&2
  cat "$run/sim.err" >&2
  exit 1
fi

# This run's settings: the user's, with "Port" in [Settings] set to the pty.
own="${XDG_CONFIG_HOME:-$HOME/.config}/Velmora/4410.conf"
conf="$run/config/Velmora/4410.conf"
mkdir -p "$(dirname "$conf")"
[ -f "$own" ] && cp "$own" "$conf.user"
touch "$conf.user"
awk -v port="$pty" '
  /^\[/ {
    if (section && !done) { print "Port=" port; done = 1 }
    section = ($0 == "[Settings]")
  }
  section && /^Port=/ { if (!done) { print "Port=" port; done = 1 } next }
  { print }
  END {
    if (!done) { if (!section) print "[Settings]"; print "Port=" port }
  }' "$conf.user" >"$conf"
rm -f "$conf.user"

echo "gz4410-sim on $pty (memories in $state_dir/gz4410-sim.state); watchkeep's \"Port\" for this run points there."
status=0
XDG_CONFIG_HOME="$run/config" "$bin/watchkeep" "$@" || status=$?
exit $status
