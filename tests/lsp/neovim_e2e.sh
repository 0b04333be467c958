#!/usr/bin/env bash
# End-to-end test with a real client: headless Neovim with its built-in LSP client opens a sample module,
# formats it through `kemptor-cli lsp` and writes it; the file must then equal what `kemptor-cli format`
# makes of it. Skipped (status 77) where Neovim is not installed.
#   neovim_e2e.sh KEMPTOR_CLI SOURCE_DIR
set -euo pipefail
cli=$1
source_dir=$2
if ! command -v nvim >/dev/null 2>&1; then
  echo "SKIPPED: Neovim (nvim) is not installed; scripts/install-deps.sh installs it (Debian package neovim)"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Neovim's state, logs and data and the program's settings all stay in the scratch directory.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_STATE_HOME="$work/home/state"
export XDG_DATA_HOME="$work/home/data" XDG_CACHE_HOME="$work/home/cache" KEMPTOR_CONFIG_DIR="$work/config"
export KEMPTOR_CLI="$cli"
mkdir -p "$HOME" "$KEMPTOR_CONFIG_DIR"

for sample in vbp/modGlobals.bas vbp/clsStockItem.cls; do
  name=$(basename "$sample")
  cp "$source_dir/examples/$sample" "$work/$name"
  "$cli" format --no-config "$work/$name" >"$work/expected"
  if cmp -s "$work/expected" "$work/$name"; then
    echo "neovim_e2e: $sample is formatted already; the test needs one that changes" >&2
    exit 1
  fi
  (cd "$work" && timeout 120 nvim --headless --clean -u "$source_dir/tests/lsp/neovim_e2e.lua" "$name") </dev/null >/dev/null
  if ! cmp "$work/expected" "$work/$name"; then
    diff "$work/expected" "$work/$name" | head -40 >&2 || true
    echo "neovim_e2e: $sample formatted through Neovim differs from kemptor-cli format" >&2
    exit 1
  fi
  echo "neovim_e2e: $sample formatted through Neovim's LSP client equals kemptor-cli format"
done
