#!/usr/bin/env bash
# The whole program's CPU use at its 50 frames a second on the desktop
# backend: starts a virtual X display, runs build/native/brisko on it for a
# while and reads the process's own CPU time (utime + stime) from /proc.
#
#   bench/cpu_usage.sh [seconds]       (default 10; build with `make build` first)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=${BRISKO_PROGRAM:-$root/build/native/brisko}
seconds=${1:-10}

if [ ! -x "$program" ]; then
    echo "cpu_usage: $program is not built (make build)" >&2
    exit 1
fi
command -v Xvfb >/dev/null || { echo "cpu_usage: Xvfb is not installed" >&2; exit 1; }

# A display number nobody is using.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done

xvfb_pid=
program_pid=
# The program first, and only once it has gone the display it was using.
cleanup() {
    if [ -n "$program_pid" ]; then
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "cpu_usage: Xvfb did not start" >&2; exit 1; }

DISPLAY=":$display" SDL_VIDEODRIVER=x11 "$program" &
program_pid=$!
started=$(date +%s.%N)
sleep "$seconds"
if [ ! -r "/proc/$program_pid/stat" ]; then
    wait "$program_pid" && code=0 || code=$?
    program_pid=
    echo "cpu_usage: brisko ended early (exit $code): is the desktop backend usable?" >&2
    exit 1
fi
# Fields 14 and 15 of /proc/<pid>/stat, counted after the command name,
# which is in parentheses and may hold spaces.
read -r utime stime < <(sed 's/^.*) //' "/proc/$program_pid/stat" | awk '{print $12, $13}')
ended=$(date +%s.%N)
ticks=$(getconf CLK_TCK)

awk -v u="$utime" -v s="$stime" -v hz="$ticks" -v a="$started" -v b="$ended" 'BEGIN {
    wall = b - a; cpu = (u + s) / hz;
    printf "brisko for %.1f s at 50 fps: %.2f s of CPU (user %.2f s, system %.2f s)\n", wall, cpu, u / hz, s / hz;
    printf "CPU use: %.1f %% of one core\n", 100 * cpu / wall;
}'
