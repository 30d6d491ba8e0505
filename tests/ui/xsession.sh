# Sourced by the tests that run the real kestrune on an X server: a work folder removed at the
# end with every process started, a copy of the program folder, Xvfb and openbox.
#   . xsession.sh KESTRUNE TOOL...   (exits 77, skipped, only when Xvfb is not installed)

kestrune=$1
shift
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "Xvfb is not installed; scripts/setup installs it"
    exit 77
fi
for tool in xdotool openbox xprop "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "FAIL: $tool is missing; scripts/setup installs it"
        exit 1
    fi
done

work=$(mktemp -d)
pids=
cleanup() {
    for pid in $pids; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

fail() {
    echo "FAIL: $*"
    for log in "$work"/*.log; do
        [ -f "$log" ] && { echo "--- $log"; cat "$log"; }
    done
    exit 1
}

# Waits up to ten seconds for a shell condition.
wait_for() {
    tries=0
    until eval "$1"; do
        tries=$((tries + 1))
        [ "$tries" -lt 100 ] || return 1
        sleep 0.1
    done
}

# The program folder: the executable with the samples beside it, and no settings yet.
bin=$(dirname "$kestrune")
app="$work/app"
mkdir "$app"
cp "$kestrune" "$app/"
cp -r "$bin/SpecFiles" "$bin/Config" "$bin/Inputs" "$bin/Presets" "$app/"
rm -f "$app/Config/config.ini"

# An X server with a window manager. Xvfb picks a free display itself (-displayfd) and writes
# its number once it listens. Where the server or openbox does not come up (another server took
# the display at the same moment), both are stopped and the session is started again.
start_x_session() {
    for attempt in 1 2 3 4 5; do
        rm -f "$work/display"
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
            >"$work/xvfb.log" 2>&1 &
        xpid=$!
        wmpid=
        if wait_for "[ -s '$work/display' ] || ! kill -0 $xpid 2>/dev/null" &&
            [ -s "$work/display" ]; then
            DISPLAY=":$(cat "$work/display")"
            export DISPLAY
            if wait_for "xdotool getdisplaygeometry >/dev/null 2>&1"; then
                openbox --sm-disable >"$work/openbox.log" 2>&1 &
                wmpid=$!
                if wait_for "xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW" &&
                    kill -0 "$xpid" 2>/dev/null && kill -0 "$wmpid" 2>/dev/null; then
                    pids="$pids $xpid $wmpid"
                    return 0
                fi
            fi
        fi
        kill $wmpid "$xpid" 2>/dev/null || true
        wait $wmpid "$xpid" 2>/dev/null || true
        sleep "0.$attempt"
    done
    fail "Xvfb or openbox did not start"
}
