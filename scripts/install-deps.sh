#!/usr/bin/env bash
# Installs, from Debian's own packages, whatever the build and the tests need
# and this machine lacks. Runs as root or through sudo; does nothing when all
# is there. Usage: install-deps.sh [build|test|run|screenshots]
set -euo pipefail

# help2man makes the man pages from the programs' own --help.
build=(cmake ninja-build g++ make pkgconf ccache qt6-base-dev qt6-serialport-dev libgl-dev libx11-dev fonts-dejavu-core
       nlohmann-json3-dev help2man)
# The fuzz targets (run by the tests too) need clang and its libFuzzer runtime;
# a validator of its own checks the configuration's JSON Schema.
test=("${build[@]}" libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev python3-jsonschema)
run=("${build[@]}" qt6-qpa-plugins shared-mime-info desktop-file-utils)
screenshots=("${test[@]}" xvfb xauth x11-apps imagemagick qt6-qpa-plugins)

case "${1:-test}" in
  build) wanted=("${build[@]}") ;;
  test) wanted=("${test[@]}") ;;
  run) wanted=("${run[@]}") ;;
  screenshots) wanted=("${screenshots[@]}") ;;
  *) echo "usage: $0 [build|test|run|screenshots]" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
echo "Installing from Debian: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A fresh machine may have no package lists yet: fetch them and try again.
$sudo apt-get install -y --no-install-recommends "${missing[@]}" ||
  { $sudo apt-get update && $sudo apt-get install -y --no-install-recommends "${missing[@]}"; }
