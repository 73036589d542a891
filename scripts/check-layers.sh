#!/usr/bin/env bash
# Fails when a folder includes one above it. The layers, lowest first:
#   util < seams < document, language < link < onewire, diagnostics, firmware
#   (the core: no Qt) < seams/qt < widgets < the ui/ folders < editors < app
# The command line may use the core and seams/qt; the simulator nothing of src/.
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"

rank() {
  case "$1" in
    util) echo 0 ;;
    seams) echo 1 ;;
    document | language) echo 2 ;;
    link) echo 3 ;;
    onewire | diagnostics | firmware) echo 4 ;;
    seams/qt) echo 5 ;;
    widgets) echo 6 ;;
    */ui) echo 7 ;;
    editors) echo 8 ;;
    app) echo 9 ;;
    cli) echo 5 ;;  # tools/cli: the core and the Qt settings store
    sim) echo -1 ;; # tools/sim: nothing of the program
    *) echo 99 ;;
  esac
}

# The layer of a path below src/ (or tools/): "link/ui/x.h" is link/ui.
layer() {
  local first="${1%%/*}" rest="${1#*/}"
  local second="${rest%%/*}"
  if [[ "$rest" != "$1" && "$second" == ui ]]; then echo "$first/ui"
  elif [[ "$first" == seams && "$second" == qt && "$rest" != "$1" ]]; then echo seams/qt
  else echo "$first"; fi
}

status=0
while IFS= read -r file; do
  rel="${file#src/}"
  rel="${rel#tools/}"
  from="$(layer "$rel")"
  from_rank="$(rank "$from")"
  while IFS= read -r included; do
    [[ -e "src/$included" ]] || continue  # a header of the same folder or a system header
    to="$(layer "$included")"
    to_rank="$(rank "$to")"
    if (( to_rank > from_rank )); then
      echo "$file: $from includes $included ($to is above it)"
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find src tools/cli tools/sim -name '*.h' -o -name '*.cpp' | sort)
exit $status
