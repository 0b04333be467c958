#!/usr/bin/env bash
# Whole-process cost of the two commands that read untrusted structure rather than code lines:
# `kemptor-cli formtree` on a form nested 40,000 levels deep (the tree stops at its depth limit) and on
# a wide form of 20,000 controls with ten properties each, and `kemptor-cli spell` on a module of 200,000
# comment lines (common words, misspellings, repeated unknown words, words of several hundred letters).
# Prints wall and CPU seconds and peak memory; the figures to watch are the CPU time and the peak
# against the input's size, which must stay linear.
#   bench/forms-spelling.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
cli="$build/src/kemptor-cli"
[ -x "$cli" ] || { echo "build kemptor-cli first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KEMPTOR_CONFIG_DIR="$work/config"
mkdir -p "$KEMPTOR_CONFIG_DIR"

measure() { # label input command...
    local label=$1 input=$2
    shift 2
    local status=0
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" >"$work/out" 2>"$work/err" || status=$?
    read -r wall user sys rss < <(tail -n 1 "$work/time")
    printf '%-34s %6.2f s wall %6.2f s cpu | peak %5d MB | input %5.1f MB | %7d output lines | exit %d\n' \
        "$label" "$wall" "$(echo "$user + $sys" | bc)" $((rss / 1024)) \
        "$(echo "scale=1; $(stat -c %s "$input") / 1000000" | bc)" "$(wc -l <"$work/out")" "$status"
}

# A form whose every control holds the next one, 40,000 levels deep.
awk 'BEGIN {
    printf "VERSION 5.00\r\nBegin VB.Form frmDeep\r\n   Caption = \"Deep\"\r\n"
    for (i = 1; i <= 40000; i++) printf "Begin VB.PictureBox pic%d\r\n   Left = %d\r\n", i, i
    for (i = 1; i <= 40000; i++) printf "End\r\n"
    printf "End\r\nAttribute VB_Name = \"frmDeep\"\r\n"
}' >"$work/deep.frm"
measure "formtree, 40,000 levels deep" "$work/deep.frm" "$cli" formtree "$work/deep.frm"

# A form of 20,000 controls side by side, each with ten properties and a font group.
awk 'BEGIN {
    printf "VERSION 5.00\r\nBegin VB.Form frmWide\r\n   Caption = \"Wide\"\r\n"
    for (i = 1; i <= 20000; i++) {
        printf "   Begin VB.TextBox txt%d\r\n", i
        for (p = 1; p <= 10; p++) printf "      Prop%d = %d\r\n", p, i * p
        printf "      BeginProperty Font\r\n         Name = \"Arial\"\r\n      EndProperty\r\n   End\r\n"
    }
    printf "End\r\nAttribute VB_Name = \"frmWide\"\r\n"
}' >"$work/wide.frm"
measure "formtree, 20,000 controls" "$work/wide.frm" "$cli" formtree "$work/wide.frm"

# 200,000 comment lines: every 7th line holds a misspelling, every 50th a word of 300 letters, and a
# handful of unknown words come back again and again (the verdicts are remembered within a run).
awk 'BEGIN {
    srand(7)
    split("the total of each record is written to the report before the next file is opened", w, " ")
    split("recieve seperate occured definately tommorow", bad, " ")
    printf "Attribute VB_Name = \"Notes\"\r\nOption Explicit\r\n"
    for (i = 1; i <= 200000; i++) {
        line = "'"'"' "
        for (k = 1; k <= 10; k++) line = line w[int(rand() * 16) + 1] " "
        if (i % 7 == 0) line = line bad[i % 5 + 1] " "
        if (i % 50 == 0) { long = ""; for (k = 0; k < 30; k++) long = long "abcdefghij"; line = line long }
        printf "%s\r\n", line
    }
}' >"$work/notes.bas"
if [ -f /usr/share/hunspell/en_US.dic ]; then
    measure "spell, 200,000 comment lines" "$work/notes.bas" "$cli" spell "$work/notes.bas"
else
    echo "spell: skipped (no en_US Hunspell dictionary)"
fi
