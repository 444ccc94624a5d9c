#!/usr/bin/env bash
# Runs a program inside an X display without a screen (called under xvfb-run by demo.sh):
# waits about three seconds, saves a screenshot, presses Escape and reports the exit status.
# Usage: scripts/headless-run.sh PROGRAM SCREENSHOT
set -u
program=$1
shot=$2

"$program" &
pid=$!
sleep 3
if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    status=$?
    echo "The program ended before the screenshot, with exit status $status."
    exit "$status"
fi
import -window root "$shot"
xdotool key Escape
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "The program did not end after Escape; stopping it."
    kill -TERM "$pid"
fi
wait "$pid"
status=$?
echo "Screenshot: $shot"
echo "Exit status: $status"
exit "$status"
