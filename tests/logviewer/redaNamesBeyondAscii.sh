#!/bin/sh
# The real REDA on a log in a folder named beyond ASCII and beyond the ANSI code page
# ("Logs-क"), with its source folder "Quellen-für-Jürgen" remembered in REDA.ini:
#   redaNamesBeyondAscii.sh windows|posix REDA [EMULATOR...]
# --locations must print the links resolved into those folders, byte for byte in UTF-8 (on
# Windows a link's log folder matches the remembered one whatever its letter case, separators
# and final separator), and the window must open the log named on the command line.
set -u
form=$1
reda=$2
shift 2
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
logs="$dir/Logs-क"
sources="$dir/Quellen-für-Jürgen"
home="$dir/Home-ü"
mkdir -p "$logs" "$sources/src" "$home/Config" || exit 1
printf 'cc -c src/main.c\nsrc/main.c:3:7: error: missing\r\nJürgen-क.c:2: warning: odd\n' \
    >"$logs/build.log"
: >"$sources/src/main.c"
: >"$logs/Jürgen-क.c"

# A path as the program sees it: Wine shows the Linux root as drive Z:.
if [ "$form" = windows ]; then
    native() { printf 'Z:%s' "$1" | tr / '\\'; }
    # The window keeps the path in Qt's form, with slashes.
    qtForm() { printf 'Z:%s' "$1"; }
    sep='\'
    # The log folder as the user may have typed it: capitals, slashes, a final one.
    remembered="Z:$(printf '%s' "$logs" | tr 'a-z' 'A-Z')/"
else
    native() { printf '%s' "$1"; }
    qtForm() { printf '%s' "$1"; }
    sep=/
    remembered=$logs
fi
printf '[REDA]\r\nSourceFor1 = %s\r\nSourceRoot1 = %s\r\n' "$remembered" "$(native "$sources")" \
    >"$home/Config/REDA.ini"
KESTRUNE_HOME=$(native "$home")
export KESTRUNE_HOME
log=$(native "$logs/build.log")
tab=$(printf '\t')

status=0
check() {  # what, expected, actual
    if [ "$2" != "$3" ]; then
        printf '%s:\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
        status=1
    fi
}

out=$("$@" "$reda" --locations "$log" | tr -d '\r')
check "--locations" "2${tab}$(native "$sources")${sep}src${sep}main.c${tab}3${tab}7
3${tab}$(native "$logs")${sep}Jürgen-क.c${tab}2" "$out"

out=$("$@" "$reda" --problems "$log" | tr -d '\r')
check "--problems" "2${tab}error${tab}src/main.c:3:7: error: missing
3${tab}warning${tab}Jürgen-क.c:2: warning: odd" "$out"

err=$("$@" "$reda" --problems "$(native "$logs/nichts-क.log")" 2>&1 >/dev/null | tr -d '\r')
check "a missing log" "REDA: $(native "$logs/nichts-क.log"): no such file" "$err"

out=$(KESTRUNE_QUIT_AFTER_SHOW=1 "$@" "$reda" "$log" | tr -d '\r' | grep -v '^REDA: menus: \|^REDA: Qt')
check "the window" "REDA: log: $(qtForm "$logs/build.log")
REDA: lines: 3
REDA: title: build.log — REDA" "$out"
exit $status
