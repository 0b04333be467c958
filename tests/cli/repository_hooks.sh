#!/usr/bin/env bash
# A scratch git repository holding a Visual Basic project and a kemptor.ini, checked as a CI job and a
# pre-commit hook check it: `check` fails on a badly formatted file and passes after `format -i`; the
# repository's pre-commit hooks do the same through pre-commit when it is installed, else their command
# lines (read from .pre-commit-hooks.yaml) are run directly.
#   repository_hooks.sh KEMPTOR_CLI SOURCE_DIR
set -euo pipefail
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$(cd "$2" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export KEMPTOR_CONFIG_DIR="$scratch/user" PATH="$(dirname "$cli"):$PATH" PRE_COMMIT_HOME="$scratch/cache"
export GIT_AUTHOR_NAME=t GIT_AUTHOR_EMAIL=t@example.invalid GIT_COMMITTER_NAME=t GIT_COMMITTER_EMAIL=t@example.invalid

fail() { echo "FAIL: $*" >&2; exit 1; }
expect_status() { # expected command...
  local want=$1; shift
  set +e; "$@" >"$scratch/out" 2>&1; local got=$?; set -e
  [ "$got" -eq "$want" ] || { cat "$scratch/out" >&2; fail "'$*' exited $got, expected $want"; }
}

repo="$scratch/repo"
mkdir -p "$repo"
cd "$repo"
git init -q .
cp -r "$source_dir/examples/vbp/." .
printf '[General]\r\nIfThenSplit=1\r\n[Indents]\r\nDefaultLineIndent=2\r\n' > kemptor.ini
git add -A && git commit -qm "project as found"

# The CI job: check fails, format -i mends, check passes; the project file is never rewritten.
before=$(sha256sum Inventory.vbp)
expect_status 1 kemptor-cli check Inventory.vbp
expect_status 0 kemptor-cli format -i ./*.bas ./*.frm ./*.cls ./*.ctl Utils/*.bas
expect_status 0 kemptor-cli check Inventory.vbp
[ "$before" = "$(sha256sum Inventory.vbp)" ] || fail "the project file was rewritten"
git add -A && git commit -qm "house style"

# A badly formatted change is caught by the hooks.
printf 'Sub Later()\r\nIf a Then b = 1\r\nEnd Sub\r\n' >> modGlobals.bas
git add modGlobals.bas
if command -v pre-commit >/dev/null 2>&1; then
  # A hook that fails says so by its name and "Failed"; anything else (a bad manifest) is a fault here.
  expect_status 1 pre-commit try-repo "$source_dir" kemptor-check --files modGlobals.bas
  grep -q 'kemptor-check.*Failed' "$scratch/out" || { cat "$scratch/out" >&2; fail "kemptor-check did not run"; }
  expect_status 1 pre-commit try-repo "$source_dir" kemptor-format --files modGlobals.bas # rewrites: fails once
  grep -q 'kemptor-format.*Failed' "$scratch/out" || { cat "$scratch/out" >&2; fail "kemptor-format did not run"; }
  expect_status 0 pre-commit try-repo "$source_dir" kemptor-check --files modGlobals.bas
else
  entry() { sed -n "/id: $1\$/,/^- id/p" "$source_dir/.pre-commit-hooks.yaml" | sed -n 's/^ *entry: //p'; }
  expect_status 1 $(entry kemptor-check) modGlobals.bas
  expect_status 0 $(entry kemptor-format) modGlobals.bas
  expect_status 0 $(entry kemptor-check) modGlobals.bas
fi
echo "repository hooks: ok"
