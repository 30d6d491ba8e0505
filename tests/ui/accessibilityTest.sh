#!/bin/sh
# What a screen reader is told: the real kestrune on an X server (Xvfb, openbox) with the
# accessibility bus running, read through AT-SPI as a screen reader reads it. Every shown
# control of the main window, of each page of the options dialog and of the about box must
# have a name, and no button may be called just "...". The dialogs are opened with the keyboard.
#   accessibilityTest.sh KESTRUNE
# Exits 77 (skipped) only when Xvfb is not installed.
set -eu

bus_launcher=/usr/libexec/at-spi-bus-launcher
. "$(dirname "$0")/xsession.sh" "$1" dbus-launch "$bus_launcher" xwininfo
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "FAIL: python3-pyatspi is missing; scripts/setup installs it"
    exit 1
fi

start_x_session

eval "$(dbus-launch --sh-syntax)"
pids="$pids $DBUS_SESSION_BUS_PID"
export DBUS_SESSION_BUS_ADDRESS
"$bus_launcher" --launch-immediately >"$work/bus.log" 2>&1 &
pids="$pids $!"

(cd "$app" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb exec ./kestrune \
    Presets/HelloC.zrp) >"$work/kestrune.log" 2>&1 &
pids="$pids $!"
wait_for "xdotool search --onlyvisible --name '^HelloC.zrp - Kestrune\$' >/dev/null 2>&1" ||
    fail "the window did not appear"
window=$(xdotool search --onlyvisible --name '^HelloC.zrp - Kestrune$' | head -n 1)

# Walks the shown accessible objects of the window named $1 and lists those without a name;
# $2, when given, is the fewest objects the window has (ten by default).
cat >"$work/walk.py" <<'EOF'
import sys
import pyatspi

title = sys.argv[1]
desktop = pyatspi.Registry.getDesktop(0)
apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
apps = [a for a in apps if a is not None and (a.name or "").lower() == "kestrune"]
if not apps:
    sys.exit("no kestrune on the accessibility bus")
windows = [apps[0].getChildAtIndex(i) for i in range(apps[0].childCount)]
windows = [w for w in windows if w is not None and w.name == title]
if not windows:
    sys.exit("no window named " + title)
# Containers that a screen reader passes through without announcing them.
containers = {"filler", "panel", "layered pane", "scroll bar", "separator", "page tab list"}
nameless = []
seen = 0


def walk(node, path):
    global seen
    if not node.getState().contains(pyatspi.STATE_SHOWING):
        return
    seen += 1
    role = node.getRoleName()
    name = node.name or ""
    here = path + "/" + role + (":" + name if name else "")
    if role not in containers and name in ("", "..."):
        nameless.append(here)
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, here)


walk(windows[0], "")
print(f"{title}: {seen} shown objects")
if seen < (int(sys.argv[2]) if len(sys.argv) > 2 else 10):
    sys.exit("too few objects: the tree was not read")
if nameless:
    sys.exit("nameless:\n  " + "\n  ".join(nameless))
EOF
walk() {
    /usr/bin/python3 "$work/walk.py" "$@" || fail "in $1 (above)"
}
activate() {
    wait_for "xdotool windowactivate --sync $window >/dev/null 2>&1" ||
        fail "the window cannot be activated"
    sleep 0.3
}

activate
walk "HelloC.zrp - Kestrune"

# The script preview (设置 → Script Preview, F8) read through AT-SPI: its text is the script of
# the form, and it follows the input file typed into the main window.
cat >"$work/preview.py" <<'EOF'
import sys
import pyatspi
desktop = pyatspi.Registry.getDesktop(0)
apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
apps = [a for a in apps if a is not None and (a.name or "").lower() == "kestrune"]
found = []
def walk(node):
    if node.name == "Script Preview" and node.getRoleName() == "text":
        found.append(node)
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child)
for app in apps:
    walk(app)
if not found:
    sys.exit("no text named Script Preview")
text = found[0].queryText()
sys.stdout.write(text.getText(0, text.characterCount))
EOF
preview_text() {
    /usr/bin/python3 "$work/preview.py" >"$work/preview.txt" 2>"$work/preview.err"
}
xdotool key F8
wait_for "xdotool search --onlyvisible --name '^Script Preview\$' >/dev/null 2>&1" ||
    fail "F8 did not show the script preview"
preview=$(xdotool search --onlyvisible --name '^Script Preview$' | head -n 1)
# Out of the way of the main window's controls.
xdotool windowmove "$preview" 760 600
sleep 0.5
# A small window: its frame, the stage chooser with its label, Copy and the text.
walk "Script Preview" 5
wait_for "preview_text && grep -q '^\"/usr/bin/gcc\" -Wall -Wextra' '$work/preview.txt'" ||
    fail "the preview does not show the gcc line: $(cat "$work/preview.txt" "$work/preview.err")"
if grep -q "$app/Inputs/hello.c" "$work/preview.txt"; then
    fail "the preview names an input file before one was chosen"
fi
# The input file chosen with "..." at 591, 375 of the client area, as a person does.
activate
left=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left X: *//p')
top=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left Y: *//p')
height=$(xwininfo -id "$window" | sed -n 's/.*Height: *//p')
top=$((top + height - 528))
xdotool mousemove $((left + 603)) $((top + 387)) click 1
wait_for "xdotool search --onlyvisible --name '^(Open|打开)\$' >/dev/null 2>&1" ||
    fail "the file dialog did not open"
sleep 0.5
xdotool type --delay 10 "$app/Inputs/hello.c"
xdotool key Return
wait_for "preview_text && grep -qF '\"$app/Inputs/hello.c\"' '$work/preview.txt'" ||
    fail "the preview did not follow the chosen input file: $(cat "$work/preview.txt")"
activate
xdotool key F8
wait_for "! xdotool search --onlyvisible --name '^Script Preview\$' >/dev/null 2>&1" ||
    fail "F8 did not hide the script preview"

# 设置 → 设置: the fourth menu, its first item.
xdotool key F10
sleep 0.5
for _ in 1 2 3; do
    xdotool key Right
    sleep 0.3
done
xdotool key Return
wait_for "xdotool search --onlyvisible --name '^Kestrune Options\$' >/dev/null 2>&1" ||
    fail "the options dialog did not open"
sleep 0.5
for page in General Paths Presets; do
    walk "Kestrune Options" || fail "on the $page page"
    xdotool key ctrl+Tab
    sleep 0.5
done
xdotool key Escape
wait_for "! xdotool search --onlyvisible --name '^Kestrune Options\$' >/dev/null 2>&1" ||
    fail "the options dialog did not close"

# 帮助 → 关于: the last menu (Left from the first), its third item.
activate
xdotool key F10
sleep 0.5
xdotool key Left
sleep 0.3
xdotool key Down
sleep 0.3
xdotool key Down
sleep 0.3
xdotool key Return
wait_for "xdotool search --onlyvisible --name '^About Kestrune\$' >/dev/null 2>&1" ||
    fail "the about box did not open"
sleep 0.5
walk "About Kestrune"
xdotool key Escape

echo "PASS: every shown control of the three windows and the preview has a name; the preview follows the form"
