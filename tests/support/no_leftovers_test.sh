#!/bin/sh
# The launcher fails a test that leaves a program running, names it and ends it; it passes a
# test's own exit status and output through, and a test that ends what it started passes.
# Usage: no_leftovers_test.sh PATH_TO_no_leftovers.sh
set -u
launcher=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Left running: a sleep with a duration no other program on the machine is likely to use.
sh "$launcher" sh -c 'sleep 4711 & echo started' >"$work/out" 2>"$work/err" && status=0 || status=$?
[ "$status" -eq 1 ] || fail "exit status $status for a test that left a program running"
[ "$(cat "$work/out")" = "started" ] || fail "output: $(cat "$work/out")"
[ "$(sed -n 1p "$work/err")" = "FAIL: the test left running (session, state, process, command):" ] ||
    fail "message: $(cat "$work/err")"
[ "$(sed -n 2p "$work/err" | awk '{ print $4, $5 }')" = "sleep 4711" ] || fail "named: $(cat "$work/err")"
[ "$(wc -l <"$work/err")" -eq 2 ] || fail "more than the one program named: $(cat "$work/err")"
left=$(sed -n 2p "$work/err" | awk '{ print $3 }')
# Ended is gone, or a zombie waiting for whoever reaps orphans.
state=$(ps -o stat= -p "$left" || true)
case "$state" in "" | Z*) ;; *) fail "the program left running was not ended ($state)" ;; esac

# A failing test keeps its status; one that ends what it started passes, silently.
sh "$launcher" sh -c 'exit 3' && status=0 || status=$?
[ "$status" -eq 3 ] || fail "exit status $status instead of 3"
sh "$launcher" sh -c 'sleep 4712 & kill $!; wait $! 2>/dev/null; echo ok' >"$work/out" 2>"$work/err" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "exit status $status for a test that ended what it started"
[ "$(cat "$work/out")" = "ok" ] && [ ! -s "$work/err" ] || fail "output: $(cat "$work/out" "$work/err")"
echo "no_leftovers: all checks passed"
