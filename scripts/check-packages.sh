#!/usr/bin/env bash
# Tries the Debian packages as a user gets them: each .deb is unpacked (dpkg-deb -x) into a scratch root,
# and the programs run from there: kemptor-cli --version, kemptor-cli format on a sample, kemptor report
# to a PDF. lintian (no error), desktop-file-validate and appstreamcli validate check the results, and
# kemptor-cli must link no Qt library.
# Usage: check-packages.sh DIR_WITH_DEBS SAMPLE_PROJECT
set -euo pipefail
debs_dir=$1
sample=$2

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
export KEMPTOR_CONFIG_DIR=$scratch/config

shopt -s nullglob
cli_deb=("$debs_dir"/kemptor-cli_*.deb)
app_deb=("$debs_dir"/kemptor_*.deb)
[ ${#cli_deb[@]} -eq 1 ] && [ ${#app_deb[@]} -eq 1 ] || {
  echo "check-packages: expected one kemptor-cli and one kemptor package in $debs_dir" >&2
  exit 1
}

for deb in "${cli_deb[0]}" "${app_deb[0]}"; do
  echo "== $(basename "$deb")"
  dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Depends\|Installed-Size\):/  \1:/p'
  # Every tag is shown; tags at error level fail the check.
  status=0
  lintian --fail-on error --tag-display-limit 0 "$deb" >"$scratch/lintian" 2>&1 || status=$?
  grep -v "running with root privileges" "$scratch/lintian" || true
  [ $status -eq 0 ] || { echo "check-packages: lintian found errors in $deb" >&2; exit 1; }
  dpkg-deb -x "$deb" "$root"
done

cli=$root/usr/bin/kemptor-cli
app=$root/usr/bin/kemptor
if ldd "$cli" | grep -i 'libQt'; then
  echo "check-packages: kemptor-cli links Qt" >&2
  exit 1
fi
echo "kemptor-cli: $(stat -c %s "$cli") bytes (stripped), $(ldd "$cli" | wc -l) shared libraries"
"$cli" --version
"$app" --version

# format on a module of the sample project: exit 0 and the formatted text on standard output.
module=$(find "$(dirname "$sample")" -maxdepth 1 -iname '*.bas' | head -1)
"$cli" format "$module" >"$scratch/formatted.bas"
[ -s "$scratch/formatted.bas" ] || { echo "check-packages: format wrote nothing" >&2; exit 1; }
"$cli" list "$sample" >/dev/null
echo "format $(basename "$module"): $(wc -l <"$scratch/formatted.bas") lines"

"$app" report "$module" -o "$scratch/report.pdf"
[ "$(head -c 5 "$scratch/report.pdf")" = "%PDF-" ] || { echo "check-packages: kemptor report wrote no PDF" >&2; exit 1; }
echo "report: $(stat -c %s "$scratch/report.pdf") bytes of PDF"

desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
man -l "$root/usr/share/man/man1/kemptor-cli.1.gz" >/dev/null
echo "check-packages: both packages work from a scratch root"
