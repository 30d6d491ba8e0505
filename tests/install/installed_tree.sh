#!/bin/bash
# The installed tree used by an ordinary user: `cmake --install` into a staging folder (as a
# package or an unpacked archive would lay it out), then, as a user who cannot write there,
# the shipped C chain's script is written into the user's data folder and runs, the window
# starts on it, a second start hands over and ends, and the desktop files validate.
# Usage: installed_tree.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d)
# A window started in the background is ended with its whole process group (the user-switching
# wrapper, env and the window itself), on every way out of this script.
window_group=
end_window() {
    if [ -n "$window_group" ]; then
        kill -TERM -- -"$window_group" 2>/dev/null || true
        wait "$window_group" 2>/dev/null || true
        window_group=
    fi
}
trap 'end_window; rm -rf "$work"' EXIT
chmod 755 "$work"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR="$work/stage" cmake --install "$build" --prefix /opt/kestrune >/dev/null
root="$work/stage/opt/kestrune"
data="$root/share/kestrune"

# An ordinary user: root drops to nobody, anyone else is already one. The staging folder
# belongs to whoever installed it, so as nobody it is read-only, like /usr or /opt.
user_home="$work/user"
mkdir -p "$user_home"
if [ "$(id -u)" -eq 0 ]; then
    chown 65534:65534 "$user_home"
    as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
else
    as_user() { "$@"; }
fi
run() {
    as_user env -i PATH=/usr/bin:/bin HOME="$user_home" QT_QPA_PLATFORM=offscreen \
        XDG_RUNTIME_DIR="$user_home/run" "$@"
}
as_user mkdir -m 700 "$user_home/run"
kestrune_home="$user_home/.local/share/kestrune"

# The headless main job: the shipped preset, with an input the user owns.
as_user mkdir "$user_home/work"
as_user cp "$data/Inputs/hello.c" "$user_home/work/hello.c"
run "$root/bin/kestrune-cli" batch "$data/Presets/HelloC.zrp" --input "$user_home/work/hello.c" ||
    fail "kestrune-cli batch"
[ -f "$kestrune_home/compile.sh" ] || fail "no script in the user's data folder"
[ -f "$kestrune_home/Config/HelloC.path" ] || fail "tool path file not seeded"
[ -d "$kestrune_home/SpecFiles" ] || fail "no SpecFiles/ for the user's own specifications"
# The language's reference, which the Help menu opens, and the shipped samples lint clean.
[ -f "$data/specification.md" ] || fail "the specification reference is not installed"
run "$root/bin/kestrune-cli" lint "$data/SpecFiles/HelloC.zrs" "$data/SpecFiles/ImageTools.zrs" >"$work/lint" ||
    fail "the installed samples do not lint clean"
[ ! -s "$work/lint" ] || fail "lint printed findings for the installed samples"
grep -qF "$user_home/work" "$kestrune_home/compile.sh" || fail "script does not build the input"
[ ! -e "$root/bin/compile.sh" ] || fail "script written beside the executable"
run sh "$kestrune_home/compile.sh" >/dev/null || fail "the script did not run"
grep -q 'Hello' "$user_home/work/hello.log" || fail "the chain's program did not greet: $(cat "$user_home/work/hello.log")"

# KESTRUNE_HOME and --home choose the folder explicitly.
as_user mkdir "$user_home/other" "$user_home/third"
run KESTRUNE_HOME="$user_home/other" "$root/bin/kestrune-cli" batch "$data/Presets/HelloC.zrp" \
    --input "$user_home/work/hello.c" || fail "batch with KESTRUNE_HOME"
[ -f "$user_home/other/compile.sh" ] || fail "KESTRUNE_HOME was not the program folder"
run "$root/bin/kestrune-cli" --home "$user_home/third" batch "$data/Presets/HelloC.zrp" \
    --input "$user_home/work/hello.c" || fail "batch with --home"
[ -f "$user_home/third/compile.sh" ] || fail "--home was not the program folder"

# A read-only copy that holds SpecFiles/ is not portable; one with the marker is.
mkdir -p "$work/readonly/SpecFiles"
cp "$root/bin/kestrune-cli" "$work/readonly/"
rm -f "$kestrune_home/compile.sh"
run "$work/readonly/kestrune-cli" check "$data/SpecFiles/HelloC.zrs" || fail "check from a read-only copy"
run "$work/readonly/kestrune-cli" batch "$data/Presets/HelloC.zrp" --input "$user_home/work/hello.c" \
    -o "$user_home/ro.sh" 2>"$work/err" && fail "a read-only copy found the user's specification folder"
grep -q "SpecFiles/HelloC.zrs\" not found" "$work/err" || grep -q "HelloC.zrs not found" "$work/err" ||
    fail "unexpected message: $(cat "$work/err")"

# --help and --version print and end before any window.
for program in kestrune kestrune-cli; do
    run "$root/bin/$program" --version | grep -qx "$program 2.0.3.1" || fail "$program --version"
    run "$root/bin/$program" --help | grep -q "Usage\|kestrune-cli" || fail "$program --help"
done

# Even without any display the window program answers them.
as_user env -i PATH=/usr/bin:/bin HOME="$user_home" "$root/bin/kestrune" --version >/dev/null ||
    fail "kestrune --version needs a display"

# The window starts on the installed tree and keeps running until stopped.
run timeout -s TERM 5 "$root/bin/kestrune" "$data/Presets/HelloC.zrp" && status=0 || status=$?
[ "$status" -eq 124 ] || fail "kestrune ended with $status instead of running"

# One window per program folder: a second start hands over and ends at once; another program
# folder runs beside it. The first start's socket was left by the stop above, so this also
# shows that a stale socket does not block.
socket=$(ls "$user_home"/run/kestrune-*.socket)
[ -S "$socket" ] || fail "no socket left by the stopped window"
stale=$(stat -c "%i %y" "$socket")
# With job control on, the background start leads a process group of its own.
set -m
run "$root/bin/kestrune" >"$work/first.log" 2>&1 &
first=$!
set +m
window_group=$first
tries=0
# The first start listens on a new socket in place of the stale one (its inode number may
# be the old one again, its time is not).
while [ ! -S "$socket" ] || [ "$(stat -c "%i %y" "$socket")" = "$stale" ]; do
    tries=$((tries + 1))
    [ "$tries" -lt 150 ] || fail "the first start did not listen: $(cat "$work/first.log")"
    sleep 0.2
done
run timeout 20 "$root/bin/kestrune" "$data/Presets/HelloC.zrp" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "the second start did not hand over ($status)"
kill -0 "$first" || fail "the first window ended"
run timeout -s TERM 3 "$root/bin/kestrune" --home "$user_home/other" && status=0 || status=$?
end_window
[ "$status" -eq 124 ] || fail "a second program folder did not run beside the first ($status)"

# The desktop files of the installed tree.
desktop-file-validate "$root/share/applications/"*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/share/metainfo/org.kestrune.Kestrune.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate"
for size in 16x16 22x22 24x24 32x32 48x48 64x64 128x128 256x256; do
    file "$root/share/icons/hicolor/$size/apps/kestrune.png" | grep -q "PNG image data, ${size%x*} x ${size#*x}" ||
        fail "icon $size"
done
[ -f "$root/share/icons/hicolor/scalable/apps/kestrune.svg" ] || fail "scalable icon"
for page in kestrune kestrune-cli REDA; do
    [ -n "$(man --warnings -l "$root/share/man/man1/$page.1.gz" 2>&1 >/dev/null)" ] && fail "man page $page"
    [ -f "$root/share/man/man1/$page.1.gz" ] || fail "man page $page missing"
done
# The completion, with bash-completion's two helpers stood in for: what it offers for a line.
cat >"$work/complete.bash" <<'COMPLETE'
_init_completion() {
    words=("${COMP_WORDS[@]}")
    cword=$COMP_CWORD
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD - 1]}
}
_filedir() { COMPREPLY=("files:${1:-any}"); }
. "$1"
complete_line() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _kestrune_cli
    echo "${COMPREPLY[*]}"
}
complete_line kestrune-cli ba
complete_line kestrune-cli --home /x batch --st
complete_line kestrune-cli check ""
complete_line kestrune-cli --home ""
complete_line kestrune-cli save a.zrp --import ""
complete_line kestrune-cli --v
complete_line kestrune-cli batch a.zrp -
COMPLETE
offered=$(bash "$work/complete.bash" "$root/share/bash-completion/completions/kestrune-cli")
expected="batch
--stage
files:zrs
files:-d
files:zrs
--version
--stage --input --view-log --no-view-log -o --help"
[ "$offered" = "$expected" ] || fail "bash completion offered: $offered"
echo "installed tree: all checks passed"
