#!/usr/bin/env bash
# Whole-process speed of `kemptor-cli format FILE > out` on two modules of a million lines that read like
# kept legacy code, with the default settings and with every option on: lines a second, CPU seconds,
# peak memory against the file size, and the time of `wc -l` on the same file for scale. The first
# module is built by gen_real_module from the sample projects; the second, by gen_legacy_module, has
# more of what old code bases hold: long lines, deep nesting, labels and line numbers, #If blocks, many
# short procedures under header comments, date literals and type characters. Each module is also
# formatted once more after an edit that takes the indentation off every tenth line. Targets: 2 M lines per
# CPU second with the defaults, 1 M with every option on; peak memory at most two times the file size
# with the defaults, three times with every option on.
#   bench/format-real.sh [BUILD_DIR] [LINES]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
lines=${2:-1000000}
cli="$build/src/kemptor-cli"
gen="$build/bench/gen_real_module"
gen2="$build/bench/gen_legacy_module"
[ -x "$cli" ] && [ -x "$gen" ] && [ -x "$gen2" ] ||
    { echo "build kemptor-cli, gen_real_module and gen_legacy_module first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KEMPTOR_CONFIG_DIR="$work/config"
mkdir -p "$KEMPTOR_CONFIG_DIR"
ini="$work/empty.ini" # the defaults, whatever the user keeps
: >"$ini"

all_on=(--set General.IfThenSplit=1 --set General.MultiStatementSplit=1 --set General.MultiVarSplit=1
        --set General.MultiConstSplit=1 --set General.GrpForNextProcessing=1
        --set SingleLineComments.GrpSingleLineComments=3 --set SingleLineComments.SingleLineCommentGroupQty=2
        --set InLineComments.InLineCommentsFixedColumn=30 --set InLineComments.GrpInLineCommentsFixedColUnavail=1
        --set BlankLines.GrpBlankLines=1 --set SubComments.SubLevelCommentsPerform=1
        --set FunctionComments.FunctionLevelCommentsPerform=1)
# Special-comment removal stays off: the default header lines begin with its character, so it would take
# out the headers inserted in the same run.

# Best of three runs: the machine is shared, and the best run is the one least disturbed. On a loaded
# machine the wall time measures the neighbours too; the CPU time (user + system) of the whole process
# is the figure to compare.
measure() { # label command...
    local label=$1
    shift
    local best_wall="" best_cpu="" peak=0 status=0
    for _ in 1 2 3; do
        status=0
        /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" >"$work/out" 2>"$work/err" || status=$?
        read -r wall user sys rss <"$work/time"
        cpu=$(echo "$user + $sys" | bc)
        if [ -z "$best_wall" ] || (($(echo "$wall < $best_wall" | bc))); then best_wall=$wall; fi
        if [ -z "$best_cpu" ] || (($(echo "$cpu < $best_cpu" | bc))); then best_cpu=$cpu; fi
        ((rss > peak)) && peak=$rss
    done
    local rate cpu_rate
    rate=$(echo "scale=2; $count / $best_wall / 1000000" | bc)
    cpu_rate=$(echo "scale=2; $count / ($best_cpu + 0.005) / 1000000" | bc)
    printf '%-22s %6.2f s wall %5s M lines/s | %6.2f s cpu %5s M lines/cpu-s | peak %4d MB (%.2f x file) | exit %d\n' \
        "$label" "$best_wall" "$rate" "$best_cpu" "$cpu_rate" $((peak / 1024)) \
        "$(echo "scale=2; $peak * 1024 / $bytes" | bc)" "$status"
    grep -m1 -E '^(warning|error):' "$work/err" || true
}

for module in real legacy; do
    input="$work/$module.bas"
    if [ $module = real ]; then
        "$gen" "$here/../examples" "$input" "$lines" 2>/dev/null
    else
        "$gen2" "$input" "$lines" 2>/dev/null
    fi
    bytes=$(stat -c %s "$input")
    count=$(wc -l <"$input")
    printf '%s module: %d lines, %d bytes (%.1f MB)\n' "$module" "$count" "$bytes" \
        "$(echo "scale=1; $bytes / 1000000" | bc)"
    measure "wc -l" wc -l "$input"
    measure "format (defaults)" "$cli" format --ini "$ini" --tab-width 4 "$input"
    measure "format (every option)" "$cli" format --ini "$ini" --tab-width 4 "${all_on[@]}" "$input"
    # The module formatted before and then edited, every tenth line without its indentation as new or
    # pasted code comes: the run a pre-commit hook makes.
    "$cli" format --ini "$ini" --tab-width 4 "$input" |
        awk 'NR % 10 == 0 { sub(/^ +/, "") } { print }' >"$work/edited.bas"
    bytes=$(stat -c %s "$work/edited.bas")
    measure "format (edited, defaults)" "$cli" format --ini "$ini" --tab-width 4 "$work/edited.bas"
    rm -f "$input" "$work/edited.bas"
done
