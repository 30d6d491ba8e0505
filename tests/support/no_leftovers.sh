#!/bin/sh
# Runs one test in a session of its own and fails it when anything it started is still
# running after it ended: a test ends what it starts. What is left is named, then ended.
# Usage: no_leftovers.sh PROGRAM [ARGUMENT...]

# A background simple command is not a process group leader, so setsid makes it the leader
# of a new session in place: its process id is the session's id.
setsid -w "$@" &
session=$!
trap 'kill -KILL -- -"$session" 2>/dev/null; exit 130' INT TERM HUP
wait "$session"
status=$?

remaining() {
    # Zombies are already ended and only wait for their parent.
    ps -e -o sid=,stat=,pid=,args= | awk -v session="$session" '$1 == session && $2 !~ /^Z/'
}

# A program that was told to end a moment ago gets a little time to do so.
tries=0
left=$(remaining)
while [ -n "$left" ] && [ "$tries" -lt 20 ]; do
    sleep 0.1
    tries=$((tries + 1))
    left=$(remaining)
done
if [ -n "$left" ]; then
    echo "FAIL: the test left running (session, state, process, command):" >&2
    echo "$left" >&2
    echo "$left" | awk '{ print $3 }' | xargs kill -KILL 2>/dev/null
    [ "$status" -ne 0 ] || status=1
fi
exit "$status"
