#!/usr/bin/env bash
# Start-up of the built program in a real window: from the process's start to
# its main window on screen, and the memory it holds then. Run on a display of
# its own: tests/x11/run-on-display.sh bench/startup.sh PROGRAM TITLE [runs]
set -eu
velmora=$1
title=$2
runs=${3:-10}
total=0
for i in $(seq "$runs"); do
    start=$(date +%s%N)
    "$velmora" 2>/dev/null &
    pid=$!
    # Polls without pause: xdotool's own --sync waits in half-second steps.
    until xdotool search --onlyvisible --name "^$title\$" >/dev/null; do :; done
    end=$(date +%s%N)
    sleep 0.3 # let it settle before reading its memory
    rss=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    ms=$(( (end - start) / 1000000 ))
    total=$(( total + ms ))
    echo "run $i: window on screen after $ms ms, peak resident memory $(( rss / 1024 )) MiB"
done
echo "$(basename "$velmora"): mean $(( total / runs )) ms to the window over $runs runs"
