#!/usr/bin/env bash
# scripts/run-with-simulator.sh against stand-ins for the simulator and the
# program: the run sees the simulator's pty as "Port" in a copy of the user's
# settings, the user's file stays as it was, and the simulator is gone after.
set -euo pipefail
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/home/Velmora"

cat >"$work/bin/gz4410-sim" <<'SIM'
#!/usr/bin/env bash
echo "/dev/pts/fake7"
echo $$ >"$WORK/sim.pid"
exec sleep 60
SIM
cat >"$work/bin/watchkeep" <<'APP'
#!/usr/bin/env bash
cp "$XDG_CONFIG_HOME/Velmora/4410.conf" "$WORK/seen.conf"
echo "$@" >"$WORK/seen.args"
APP
chmod +x "$work/bin/gz4410-sim" "$work/bin/watchkeep"

printf '[General]\nx=1\n\n[Recent%%20File%%20List]\nFile1=/a.vld\n\n[Settings]\nPort=Com3\nSavePortsOutput=1\n' \
  >"$work/home/Velmora/4410.conf"
cp "$work/home/Velmora/4410.conf" "$work/original.conf"

WORK=$work XDG_CONFIG_HOME=$work/home XDG_DATA_HOME=$work/data "$script" "$work/bin" site.vld >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
cmp -s "$work/home/Velmora/4410.conf" "$work/original.conf" || fail "the user's settings changed"
grep -qx 'Port=/dev/pts/fake7' "$work/seen.conf" || fail "Port not pointed at the pty: $(cat "$work/seen.conf")"
[ "$(grep -c '^Port=' "$work/seen.conf")" -eq 1 ] || fail "Port written twice"
grep -qx 'SavePortsOutput=1' "$work/seen.conf" || fail "other settings lost"
grep -qx 'File1=/a.vld' "$work/seen.conf" || fail "recent files lost"
[ "$(cat "$work/seen.args")" = "site.vld" ] || fail "arguments not passed on"
pid=$(cat "$work/sim.pid")
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the simulator still runs"

# Without any settings of the user's, a [Settings] section is made.
rm -rf "$work/home/Velmora"
WORK=$work XDG_CONFIG_HOME=$work/home XDG_DATA_HOME=$work/data "$script" "$work/bin" >/dev/null
[ "$(cat "$work/seen.conf")" = "$(printf '[Settings]\nPort=/dev/pts/fake7')" ] || fail "fresh settings: $(cat "$work/seen.conf")"
[ ! -e "$work/home/Velmora" ] || fail "settings made for the user"
echo "1 passed, 0 failed"
