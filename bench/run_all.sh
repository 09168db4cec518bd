#!/usr/bin/env bash
# Runs every benchmark of the program from a build folder and prints one table of figures, each
# with the reference measured in the same run and the ratio to it. Run it on a quiet machine.
# Usage: bench/run_all.sh [BUILD_FOLDER]   (BENCH_PLAYBACK_SECONDS, BENCH_IDLE_SECONDS: spans)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$here/build}
log=$(mktemp)
trap 'rm -f "$log"' EXIT

run() { # title command...
    echo "== $1"
    shift
    "$@" 2>&1 | tee -a "$log" | grep -v '^figure|' || echo "(failed: $*)"
    echo
}

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')," \
    "$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo

# The windows draw off screen, as the widget tests do; start-up and idle also under X when
# xvfb-run is at hand, since that is closer to a desktop.
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
run "station lists" "$build/bench/station_lists/bench_station_lists"
run "playback (${BENCH_PLAYBACK_SECONDS:-30} s per player)" \
    "$build/bench/playback/playback_driver" "$build/bench/playback/bare_playback" \
    "$build/bench/playback/qt_playback" "${BENCH_PLAYBACK_SECONDS:-30}"
if command -v xvfb-run >/dev/null; then
    run "start-up and idle (Xvfb)" env QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x1024x24' \
        "$build/bench/startup/bench_startup" "$build/bench/startup/startup_probe" \
        "${BENCH_IDLE_SECONDS:-60}"
else
    run "start-up and idle (offscreen)" "$build/bench/startup/bench_startup" \
        "$build/bench/startup/startup_probe" "${BENCH_IDLE_SECONDS:-60}"
fi

echo "== Figures"
# A target "<=Nx" or "<Nx" is judged on the ratio, "<=N unit" on the value itself; others are only shown.
grep '^figure|' "$log" | awk -F'|' '
    BEGIN { printf "%-14s %-34s %12s   %-28s %12s %8s  %-12s %s\n", "benchmark", "measure", "value",
            "reference", "ref. value", "ratio", "target", "verdict" }
    { r = ($7 > 0) ? $4 / $7 : -1
      ratio = (r >= 0) ? sprintf("%.2fx", r) : "-"
      verdict = ""
      if ($8 ~ /^<=[0-9.]+x$/ && r >= 0) {
          limit = substr($8, 3, length($8) - 3); verdict = (r <= limit + 0) ? "met" : "not met"
      } else if ($8 ~ /^<[0-9.]+x$/ && r >= 0) {
          limit = substr($8, 2, length($8) - 2); verdict = (r < limit + 0) ? "met" : "not met"
      } else if (match($8, /^<=[0-9.]+/)) {
          limit = substr($8, 3, RLENGTH - 2); verdict = ($4 <= limit + 0) ? "met" : "not met"
      }
      printf "%-14s %-34s %9s %-2s   %-28s %9s %-2s %8s  %-12s %s\n", $2, $3, $4, $5, $6, $7, $5,
             ratio, $8, verdict }'
