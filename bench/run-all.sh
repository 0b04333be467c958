#!/usr/bin/env bash
# Runs every benchmark program built under BUILD_DIR/bench and prints its figures.
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
# Whole-process speed of kemptor-cli format on a million lines of real-looking code.
if [ -x "$build/src/kemptor-cli" ] && [ -x "$build/bench/gen_real_module" ]; then
  echo "== format-real.sh"
  "$(dirname "$0")/format-real.sh" "$build"
fi
# Form trees of extreme depth and width, and spelling of a large module's comments.
if [ -x "$build/src/kemptor-cli" ]; then
  echo "== forms-spelling.sh"
  "$(dirname "$0")/forms-spelling.sh" "$build"
fi
