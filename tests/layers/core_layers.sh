#!/usr/bin/env bash
# The core's subsystems include each other one way only: the folder-level include graph of the core
# (src/<subsystem>/ without the Qt `ui/` folders, the Qt report renderer and the front ends app/, cli/
# and lsp/) has no loop, and no core file includes a Qt header. A loop means two subsystems can no longer
# be understood, tested or reused apart; the check prints the loop and every edge, so the wrong include
# is easy to find.
# Usage: core_layers.sh SRC_DIR
set -uo pipefail
src=$1
front_ends='app|cli|lsp|print/report'

# The core's source files.
core_files() {
  find "$src" -name '*.h' -o -name '*.cpp' | grep -v '/ui/' | grep -vE "^$src/($front_ends)/"
}

# "from to" for every include of one core subsystem by another, one line per pair.
core_edges() {
  core_files | while read -r file; do
    from=${file#"$src"/}
    from=${from%%/*}
    grep -oE '^#include "[a-z]+/' "$file" | sed -E 's/^#include "([a-z]+)\//\1/' |
      while read -r to; do
        [ "$to" != "$from" ] && echo "$from $to"
      done
  done | sort -u
}

edges=$(core_edges)
failures=0
if ! loop=$(echo "$edges" | tsort 2>&1 >/dev/null) || [ -n "$loop" ]; then
  echo "FAIL: the core's includes form a loop:" >&2
  echo "$loop" >&2
  echo "$edges" | sed 's/^/  includes: /' >&2
  failures=1
fi

qt=$(core_files | xargs grep -lE '^#include <Q[A-Za-z]*>' 2>/dev/null)
if [ -n "$qt" ]; then
  echo "FAIL: core files include Qt headers:" >&2
  echo "$qt" >&2
  failures=1
fi
exit $failures
