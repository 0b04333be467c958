#!/usr/bin/env bash
# Runs each fuzz target for a bounded time: usage run-fuzz.sh BUILD_DIR SECONDS.
# The engine starts from every sample source file, the project reader from the sample projects; the
# inputs that once made a target fail (fuzz/regressions/<target>/) run first, each a regression test.
# The working corpus and any crash input go to a scratch directory; a failure prints the input's path
# and its bytes in base64 so that it can be added to fuzz/regressions/.
set -euo pipefail
build=${1:?build directory}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kemptor-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work" # the targets' scratch files go with the rest

seed() { # target, then the seed files
  local target=$1
  shift
  mkdir -p "$work/$target/corpus" "$work/$target/seeds"
  local n=0
  for f in "$@"; do
    # The engine's first two bytes choose the settings; every seed goes in with the defaults on.
    if [ "$target" = fuzz_engine ]; then printf '\x21\x00' >"$work/$target/seeds/$n"; else printf '\x00' >"$work/$target/seeds/$n"; fi
    cat "$f" >>"$work/$target/seeds/$n"
    n=$((n + 1))
  done
}

mapfile -t sources < <(find "$root/examples" -type f \( -iname '*.bas' -o -iname '*.frm' -o -iname '*.cls' -o -iname '*.ctl' \))
mapfile -t projects < <(find "$root/examples" -type f \( -iname '*.vbp' -o -iname '*.mak' \))
seed fuzz_engine "${sources[@]}"
seed fuzz_project_reader "${projects[@]}"

status=0
for target in fuzz_engine fuzz_project_reader; do
  dirs=("$work/$target/corpus" "$work/$target/seeds")
  [ -d "$root/fuzz/regressions/$target" ] && dirs+=("$root/fuzz/regressions/$target")
  echo "fuzz: $target for $seconds s"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$work/$target/" "${dirs[@]}" >"$work/$target.log" 2>&1; then
    tail -n 60 "$work/$target.log"
    for crash in "$work/$target"/crash-* "$work/$target"/leak-* "$work/$target"/timeout-* "$work/$target"/oom-*; do
      [ -f "$crash" ] || continue
      echo "fuzz: $target failed on $(basename "$crash") (base64 follows; add it to fuzz/regressions/$target/)"
      base64 "$crash"
    done
    status=1
  else
    grep -E '^stat::number_of_executed_units|^Done' "$work/$target.log" || true
  fi
done
if [ $status -eq 0 ]; then echo "2 passed, 0 failed"; else echo "fuzz: a target failed"; fi
exit $status
