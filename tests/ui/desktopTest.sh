#!/bin/sh
# The real kestrune as a new user meets it: on an X server (Xvfb) with a window manager that
# has no tray (openbox), driven with xdotool's mouse and keyboard only. It chooses HelloC from
# the 编译项目 menu with F10 and the arrows, ticks the three stages with the mouse, chooses
# Inputs/hello.c through the file dialog, presses Run, and finds the script started by a
# stand-in terminal and the program built and run. Then "minimise to tray" must iconify the
# window, since there is no tray to bring it back from.
#   desktopTest.sh KESTRUNE
# Exits 77 (skipped) only when Xvfb is not installed.
set -eu

. "$(dirname "$0")/xsession.sh" "$1" xwininfo
rm -f "$app/Inputs/hello" "$app/Inputs/hello.log"

start_x_session

# The terminal Kestrune finds first on the search path: it notes how it was started and runs
# the command it was given, with no key to wait for.
mkdir "$work/path"
cat >"$work/path/x-terminal-emulator" <<EOF
#!/bin/sh
printf '%s\n' "\$@" >"$work/terminal.args"
shift
"\$@" </dev/null >"$work/terminal.out" 2>&1
echo finished >>"$work/terminal.args"
EOF
chmod +x "$work/path/x-terminal-emulator"

(cd "$app" && PATH="$work/path:$PATH" QT_QPA_PLATFORM=xcb exec ./kestrune) \
    >"$work/kestrune.log" 2>&1 &
pids="$pids $!"
wait_for "xdotool search --onlyvisible --name '^Kestrune\$' >/dev/null 2>&1" ||
    fail "the window did not appear"
window=$(xdotool search --onlyvisible --name '^Kestrune$' | head -n 1)
activate() {
    wait_for "xdotool windowactivate --sync $window >/dev/null 2>&1" ||
        fail "the window cannot be activated"
    sleep 0.3
}
activate

# The client area's corner on the screen: below the menu bar, whose height is what the window
# has beyond the designed 528 pixels.
left=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left X: *//p')
top=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left Y: *//p')
height=$(xwininfo -id "$window" | sed -n 's/.*Height: *//p')
top=$((top + height - 528))
click() {
    xdotool mousemove "$((left + $1))" "$((top + $2))" click 1
    sleep 0.5
}

# 编译项目 is the third menu: F10 opens the first, Right twice reaches it with its first
# entry, HelloC, highlighted.
xdotool key F10
sleep 0.5
xdotool key Right
sleep 0.5
xdotool key Right
sleep 0.5
xdotool key Return
wait_for "xdotool getwindowname $window | grep -q '^untitled.zrp - Kestrune\$'" ||
    fail "choosing HelloC did not load it: $(xdotool getwindowname "$window")"

# The stages list at 592, 40: each entry's check box, one 13-pixel row after the other.
for row in 0 1 2; do
    click 602 $((47 + 13 * row))
done

# "..." at 591, 375 opens the file dialog, whose name box has the focus; on this Chinese
# desktop Qt titles it 打开 ("Open").
click 603 387
wait_for "xdotool search --onlyvisible --name '^(Open|打开)\$' >/dev/null 2>&1" ||
    fail "the file dialog did not open"
sleep 0.5
xdotool type --delay 10 "$app/Inputs/hello.c"
xdotool key Return
wait_for "! xdotool search --onlyvisible --name '^(Open|打开)\$' >/dev/null 2>&1" ||
    fail "the file dialog did not close"
sleep 0.5

# Run at 623, 375.
click 660 387
wait_for "grep -q finished '$work/terminal.args' 2>/dev/null" ||
    fail "Run did not start the script in the terminal"
grep -qx "$app/compile-run.sh" "$work/terminal.args" ||
    fail "the terminal was not given the wrapper that records the run"
grep -q '^0 [0-9]*$' "$app/compile.exit" || fail "the run's exit status was not recorded"
[ -x "$app/Inputs/hello" ] || fail "gcc did not build Inputs/hello"
grep -q "Hello, world!" "$app/Inputs/hello.log" || fail "the program did not run: $(cat "$app/Inputs/hello.log")"
grep -q '"/usr/bin/strip"' "$app/compile.sh" || fail "the Strip stage was not ticked"

# Without a tray, "minimise to tray" (the File menu's item above 退出) minimises.
activate
xdotool key F10
sleep 0.5
xdotool key Up Up Return
wait_for "xprop -id $window WM_STATE | grep -q 'window state: Iconic'" ||
    fail "the window is not iconic: $(xprop -id "$window" WM_STATE)"
xdotool windowactivate "$window"
wait_for "xprop -id $window WM_STATE | grep -q 'window state: Normal'" ||
    fail "the window did not come back"

echo "PASS: HelloC chosen, stages ticked, input chosen, run and built; no tray minimises"
