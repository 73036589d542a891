#!/usr/bin/env bash
# Runs the GUI tests under Xvfb on the real X11 platform and saves a screenshot
# of every page and dialog they show into screenshots/ (or the folder given).
# Usage: scripts/screenshots.sh [BUILD_DIR] [OUT_DIR] [GTEST_FILTER]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh screenshots
build=${1:-build-asan}
out=$(realpath -m "${2:-screenshots}")
filter=${3:-*}
mkdir -p "$out"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
status=0
for t in "$build"/bin/test_*; do
  [ -x "$t" ] || continue
  # Only the GUI test programs link QtWidgets.
  ldd "$t" 2>/dev/null | grep -q libQt6Widgets || continue
  XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=xcb WK_SCREENSHOT_DIR="$out" \
    ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1400x1000x24" "$t" --gtest_filter="$filter" >/dev/null || status=1
done
ls -1 "$out"
exit $status
