#!/usr/bin/env bash
# Compares the Windows command line (run under Wine) with the Linux one:
#  1. every sample source file formatted by both gives the same bytes;
#  2. `process` on each sample project writes the same complete output on both, and leaves the
#     project's own files as they were;
#  3. a file and a directory named in Korean, Japanese and Arabic letters are formatted in place and
#     checked by the Windows program as the Linux one formats them.
# Usage: scripts/check-windows.sh LINUX_CLI WINDOWS_EXE
set -euo pipefail
cd "$(dirname "$0")/.."
linux_cli=$(realpath "$1")
windows_exe=$(realpath "$2")
wine_run="$PWD/scripts/wine-run.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/kemptor-windows-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Both programs read the same, empty settings directory: the built-in defaults.
export KEMPTOR_CONFIG_DIR="$work/config"
mkdir -p "$KEMPTOR_CONFIG_DIR"
failures=0

# A Linux path as the Windows program names it: drive Z: is the Linux root under Wine.
winpath() {
  local p="Z:$1"
  echo "${p//\//\\}"
}

fail() {
  echo "check-windows: $*" >&2
  failures=$((failures + 1))
}

# 1. Every sample source file, formatted on both systems.
files=0
while IFS= read -r -d '' file; do
  files=$((files + 1))
  "$linux_cli" format "$file" >"$work/linux.out" 2>"$work/linux.err" || true
  "$wine_run" "$windows_exe" format "$(winpath "$PWD/$file")" >"$work/windows.out" 2>"$work/windows.err" || true
  cmp -s "$work/linux.out" "$work/windows.out" || fail "$file: the Windows program formats it differently"
  [ -s "$work/linux.out" ] || fail "$file: no output ($(cat "$work/linux.err"))"
done < <(find examples -type f \( -iname '*.bas' -o -iname '*.frm' -o -iname '*.cls' -o -iname '*.ctl' \) -print0 | sort -z)
echo "check-windows: $files sample files formatted, Linux and Windows output compared"

# 2. Each sample project processed on both systems, from copies of the samples.
snapshot() { (cd "$1" && find . -path ./out -prune -o -type f -print0 | sort -z | xargs -0 sha256sum); }
before=$(snapshot examples)
for project in vbp/Inventory.vbp mak/Stock.mak; do
  for system in linux windows; do
    rm -rf "$work/$system"
    cp -a examples "$work/$system"
  done
  "$linux_cli" process --output "$work/linux/out" "$work/linux/$project" \
    >"$work/linux.out" 2>"$work/linux.err" || fail "$project: the Linux program failed: $(cat "$work/linux.err")"
  "$wine_run" "$windows_exe" process --output "$(winpath "$work/windows/out")" "$(winpath "$work/windows/$project")" \
    >"$work/windows.out" 2>"$work/windows.err" || fail "$project: the Windows program failed: $(cat "$work/windows.err")"
  [ "$(snapshot "$work/windows")" = "$before" ] ||
    fail "$project: the Windows program changed the project's own files"
  if ! diff -r "$work/linux/out" "$work/windows/out" >"$work/diff" 2>&1; then
    fail "$project: the outputs differ:"
    head -20 "$work/diff" >&2
  fi
  [ -n "$(ls -A "$work/windows/out" 2>/dev/null)" ] || fail "$project: the Windows program wrote nothing"
  diff <(sed 's/^Output directory: .*//' "$work/linux.out") <(sed 's/^Output directory: .*//' "$work/windows.out") ||
    fail "$project: the summaries differ"
  cmp -s "$work/linux.err" "$work/windows.err" || fail "$project: the messages differ"
  echo "check-windows: $project processed by both programs, outputs compared"
done

# 3. Names in other scripts, passed to Wine as UTF-8 and to Windows as UTF-16.
export LC_ALL=C.UTF-8
sample=examples/vbp/modGlobals.bas
mkdir -p "$work/모듈"
named="$work/모듈/フォーム_وحدة.bas"
cp "$sample" "$named"
"$linux_cli" format "$sample" >"$work/linux.out"
"$wine_run" "$windows_exe" format -i "$(winpath "$named")" 2>"$work/windows.err" ||
  fail "a file named in other scripts: format -i failed: $(cat "$work/windows.err")"
cmp -s "$work/linux.out" "$named" || fail "a file named in other scripts: formatted differently in place"
"$wine_run" "$windows_exe" check "$(winpath "$named")" >/dev/null 2>&1 ||
  fail "a file named in other scripts: check after format -i does not pass"
echo "check-windows: a file named in Korean, Japanese and Arabic letters formatted in place and checked"

if [ "$failures" -gt 0 ]; then
  echo "check-windows: $failures problem(s)" >&2
  exit 1
fi
echo "check-windows: Linux and Windows output identical"
