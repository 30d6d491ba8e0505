#!/usr/bin/env bash
# Times Kestrune's start-up, from process start to the first shown main window with a
# specification of PROGRAMS x FIELDS edit boxes opened from the most recent preset, against
# bare_startup, which creates and shows the same widgets without the core. Both run in turn,
# RUNS times each, offscreen unless QT_QPA_PLATFORM says otherwise (for example xcb under
# xvfb-run); the medians and their ratio are printed.
#   run_startup_bench.sh [RUNS] [PROGRAMS] [FIELDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
runs=${1:-15}
programs=${2:-8}
fields=${3:-50}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/SpecFiles" "$home/Config"
spec="$home/SpecFiles/Big.zrs"
preset="$home/Big.zrp"
{
    printf 'Setup = Big\n{\n    Layout:\n    echo $FileName\n}\n'
    for p in $(seq 1 "$programs"); do
        printf 'Group = Program%d\n{\n    RequireExe = true\n' "$p"
        for f in $(seq 1 "$fields"); do
            printf '    EditBox = Option %d\n    {\n        Param = -o%d\n        Type = int\n        Default = %d\n    }\n' "$f" "$f" "$f"
        done
        printf '}\n'
    done
} >"$spec"
{
    printf 'ZRP200\r\n\r\n[Header]\r\nSpecFile = Big.zrs\r\nFile =\r\n\r\n'
    for p in $(seq 1 "$programs"); do
        printf '[Class = Program%d]\r\nRun = True\r\n' "$p"
        for f in $(seq 1 "$fields"); do
            printf '[Field = Option %d]\r\nChecked = True\r\nValue = %d\r\n' "$f" $((f * 2))
        done
        printf '\r\n'
    done
} >"$preset"
printf '[Kestrune]\r\nShowDetails = True\r\n\r\n[Recent Presets]\r\nRecentPreset = %s\r\n' "$preset" \
    >"$home/Config/config.ini"

# Milliseconds from the start of the process to its end right after the first shown window.
elapsed() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

kestrune_times=()
bare_times=()
# One warm-up each, so the first run does not pay for cold caches alone.
elapsed "$here/kestrune_startup" "$home" >/dev/null
elapsed "$here/bare_startup" "$programs" "$fields" >/dev/null
for _ in $(seq 1 "$runs"); do
    kestrune_times+=("$(elapsed "$here/kestrune_startup" "$home")")
    bare_times+=("$(elapsed "$here/bare_startup" "$programs" "$fields")")
done
k=$(printf '%s\n' "${kestrune_times[@]}" | median)
b=$(printf '%s\n' "${bare_times[@]}" | median)
echo "fields: $((programs * fields)) edit boxes in $programs tabs, $runs runs each, platform $QT_QPA_PLATFORM"
echo "kestrune: median $k ms   (${kestrune_times[*]})"
echo "bare Qt:  median $b ms   (${bare_times[*]})"
awk -v k="$k" -v b="$b" 'BEGIN { printf "ratio:    %.2f (goal: at most 1.30)\n", k / b }'
