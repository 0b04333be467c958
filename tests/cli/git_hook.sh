#!/usr/bin/env bash
# The plain git pre-commit hook (scripts/git-pre-commit) in a scratch repository whose Visual Basic files
# have blanks and non-ASCII letters in their names: a badly formatted staged file stops the commit, the
# same file formatted lets it through, and a commit without Visual Basic files is not held up.
#   git_hook.sh KEMPTOR_CLI SOURCE_DIR
set -euo pipefail
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$(cd "$2" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export KEMPTOR_CONFIG_DIR="$scratch/user" PATH="$(dirname "$cli"):$PATH"
export GIT_AUTHOR_NAME=t GIT_AUTHOR_EMAIL=t@example.invalid GIT_COMMITTER_NAME=t GIT_COMMITTER_EMAIL=t@example.invalid
fail() { echo "FAIL: $*" >&2; exit 1; }

cd "$scratch" && git init -q repo && cd repo
cp "$source_dir/scripts/git-pre-commit" .git/hooks/pre-commit
mkdir -p "Módulos comunes"
name="Módulos comunes/Cálculo de 'IVA' 1.BAS"
printf 'Sub Tax()\r\nIf a Then b = 1\r\nEnd Sub\r\n' >"$name"
git add -A
if git commit -qm "unformatted" 2>"$scratch/err"; then
  fail "the hook let an unformatted file through"
fi
grep -q "format -i" "$scratch/err" || { cat "$scratch/err" >&2; fail "the hook did not say what to run"; }
grep -q "IVA" "$scratch/err" || { cat "$scratch/err" >&2; fail "the file was not checked by its name"; }

kemptor-cli format -i "$name"
git add -A
git commit -qm "formatted" || fail "the hook refused a formatted file"

echo "notes" >README.txt
git add README.txt
git commit -qm "no Visual Basic files" || fail "the hook refused a commit without Visual Basic files"
echo "git hook: ok"
