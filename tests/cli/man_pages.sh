#!/usr/bin/env bash
# The man pages against the programs: every command that `kemptor-cli --help` lists has its own section
# (.SS) in kemptor-cli(1), and every option that a command's --help lists appears in that section or
# among the page's global and common options; the same for kemptor(1) and `kemptor --help`. The pages
# must also render without a warning from man.
# Usage: man_pages.sh KEMPTOR_CLI MAN_DIR [KEMPTOR]
set -uo pipefail
cli=$1
man_dir=$2
app=${3:-}
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The text of one section of a page: from the heading line that matches $2 up to the next heading of
# the same or a higher level.
section() {
  awk -v head="$2" '
    $0 ~ "^\\.S[HS] " { inside = ($0 ~ head) }
    inside' "$1"
}

# The long and short options in a --help text (CLI11 style: "  -i,--in-place ...", "  --set TEXT").
options_of() {
  sed -n '/^Options:/,/^[A-Z][a-z]*:/p' | grep -oE '^  +(-[A-Za-z0-9](,|\s)|--[a-z][a-z0-9-]*)(,--[a-z][a-z0-9-]*)?' |
    grep -oE -- '--?[A-Za-z0-9][a-z0-9-]*'
}

# True when a page text names an option (troff writes each '-' as '\-').
names_option() {
  local escaped=${2//-/\\-}
  grep -qF -- "$escaped" <<<"$1"
}

check_options() { # PAGE_TEXT LABEL OPTIONS...
  local text=$1 label=$2
  shift 2
  for option in "$@"; do
    names_option "$text" "$option" || fail "$label: option $option is not in the man page"
  done
}

page="$man_dir/kemptor-cli.1"
[ -f "$page" ] || { echo "FAIL: no $page" >&2; exit 1; }
general=$(section "$page" '^\.SH "?(GLOBAL OPTIONS|COMMON OPTIONS)')
mapfile -t global_options < <("$cli" --help | options_of)
check_options "$general" "kemptor-cli" "${global_options[@]}" --version

mapfile -t commands < <("$cli" --help | sed -n '/^Subcommands:/,$p' | sed 1d | awk 'NF { print $1 }')
[ ${#commands[@]} -gt 5 ] || fail "kemptor-cli --help lists no commands"
for command in "${commands[@]}"; do
  own=$(section "$page" "^\\.SS \"?$command\"?\$")
  if [ -z "$own" ]; then
    fail "kemptor-cli $command has no section (.SS $command) in the man page"
    continue
  fi
  mapfile -t options < <("$cli" "$command" --help 2>/dev/null | options_of)
  check_options "$own$general" "kemptor-cli $command" "${options[@]}"
done

if [ -n "$app" ]; then
  app_page="$man_dir/kemptor.1"
  app_text=$(cat "$app_page")
  mapfile -t app_options < <("$app" --help | sed -n '/^Options:/,/^$/p' | grep -oE -- '--?[a-z][a-z0-9-]*')
  check_options "$app_text" "kemptor" "${app_options[@]}"
  mapfile -t app_commands < <("$app" --help | sed -n '/^Commands:/,/^$/p' | sed 1d | awk '/^  [a-z]/ { print $1 }')
  for command in "${app_commands[@]}"; do
    [ -n "$(section "$app_page" "^\\.SS \"?$command\"?\$")" ] || fail "kemptor $command has no section in the man page"
    mapfile -t options < <("$app" "$command" --help 2>/dev/null | options_of)
    check_options "$app_text" "kemptor $command" "${options[@]}"
  done
fi

# The pages carry the version that the programs print.
version=$("$cli" --version | awk '{ print $2 }')
for p in "$man_dir"/*.1; do
  grep -q "^\.TH .*\"Kemptor/VB $version\"" "$p" || fail "$(basename "$p"): .TH does not name version $version"
done

# man's own check, as the Debian package checker runs it.
if command -v man >/dev/null 2>&1; then
  for p in "$man_dir"/*.1; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$p" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$p"): $warnings"
  done
fi

[ $failures -eq 0 ] && echo "man pages: every command and option documented"
exit $((failures > 0))
