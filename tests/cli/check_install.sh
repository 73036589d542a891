#!/usr/bin/env bash
# Installs the build tree into a temporary folder as a package build would
# (DESTDIR) and checks what lands there: the programs, a man page for each
# made from its own --help, and the bash completion of watchkeep-cli.
# Usage: check_install.sh BUILD_DIR WITH_GUI(ON|OFF)
set -euo pipefail
build=$1
gui=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >"$root.log" 2>&1 || { cat "$root.log"; fail "cmake --install"; }
rm -f "$root.log"
prefix=$root/usr
programs=(watchkeep-cli gz4410-sim)
[ "$gui" = ON ] && programs+=(watchkeep)
for p in "${programs[@]}"; do
  [ -x "$prefix/bin/$p" ] || fail "no program bin/$p"
  page=$prefix/share/man/man1/$p.1
  [ -s "$page" ] || fail "no man page $page"
  grep -q '^\.TH' "$page" || fail "$page is no man page"
  grep -q "^\.SH DESCRIPTION" "$page" || fail "$page has no description"
done

export ASAN_OPTIONS=detect_leaks=0
cli=$prefix/bin/watchkeep-cli
page=$prefix/share/man/man1/watchkeep-cli.1
# Every command of --help is in the man page and in the completion.
commands=$("$cli" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\).*/\1/p')
[ -n "$commands" ] || fail "no commands in --help"
completion=$prefix/share/bash-completion/completions/watchkeep-cli
[ -s "$completion" ] || fail "no bash completion"
bash -n "$completion" || fail "the completion is no bash"
cmp -s "$completion" <("$cli" --bash-completion) || fail "the completion is not the program's"
for c in $commands; do
  grep -q "^$c\b\|^\\\\fB$c\b\|^$c " "$page" || grep -q "$c" "$page" || fail "$c not in the man page"
  grep -q "\b$c\b" "$completion" || fail "$c not in the completion"
done
# The version of the man page is the program's.
version=$("$cli" --version | head -1 | cut -d' ' -f2)
grep -q "watchkeep-cli $version" "$page" || fail "the man page is not of version $version"

# The desktop program answers --help and --version instead of opening a file of that name.
if [ "$gui" = ON ]; then
  help=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/watchkeep" --help) || fail "watchkeep --help failed"
  case $help in "Usage: "*) ;; *) fail "watchkeep --help: $help" ;; esac
  case $help in *"[file]"*) ;; *) fail "watchkeep --help names no file argument" ;; esac
  [ "$(QT_QPA_PLATFORM=offscreen "$prefix/bin/watchkeep" --version)" = "watchkeep 1.05d" ] || fail "watchkeep --version"
fi
grep -q "gz4410-sim $version" "$prefix/share/man/man1/gz4410-sim.1" || fail "the simulator's page is not of version $version"

# The completion at work: commands, options, files by kind.
work=$root/work
mkdir -p "$work"
cd "$work"
touch site.vld site.json fw.cod words.lng notes.txt
complete_line() {
  # shellcheck disable=SC1090
  source "$completion"
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _watchkeep_cli
  echo "${COMPREPLY[*]}"
}
expect() {
  local want=$1
  shift
  local got
  got=$(complete_line "$@")
  [ "$got" = "$want" ] || fail "completing '$*': '$got', not '$want'"
}
expect "dump diff" watchkeep-cli d
expect "site.vld" watchkeep-cli dump ''
expect "site.json" watchkeep-cli import ''
expect "site.vld" watchkeep-cli import site.json -o ''
expect "fw.cod" watchkeep-cli flash ''
expect "words.lng" watchkeep-cli dump site.vld --lang ''
expect "--json" watchkeep-cli dump --j
expect "1 2 3" watchkeep-cli --port /dev/ttyS0 sensors ''
echo "installed: ${programs[*]}, their man pages, the completion"
