#!/usr/bin/env bash
# Runs every benchmark of the program from a build folder and prints one table of figures, each
# with the reference measured in the same run and the ratio to it. Run it on a quiet machine.
# Figures that compare two programs come from interleaved pairs: the median ratio is judged,
# the lowest and highest ratio show the spread.
# Usage: bench/run_all.sh [BUILD_FOLDER]
#   BENCH_PLAYBACK_SECONDS (30): seconds each run plays from its first sound
#   BENCH_PLAYBACK_PAIRS (5): pairs of the bare libmpv program and the program, animation on and off each
#   BENCH_STARTUP_PAIRS (9): pairs of the main window and the bare window started
#   BENCH_IDLE_SECONDS (60): the idle span
# The defaults take about a quarter of an hour.
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
run "playback (${BENCH_PLAYBACK_SECONDS:-30} s playing per run, ${BENCH_PLAYBACK_PAIRS:-5} pairs each)" \
    "$build/bench/playback/playback_driver" "$build/bench/playback/bare_playback" \
    "$build/bench/playback/qt_playback" "${BENCH_PLAYBACK_SECONDS:-30}" "${BENCH_PLAYBACK_PAIRS:-5}"
if command -v xvfb-run >/dev/null; then
    run "start-up and idle (Xvfb)" env QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x1024x24' \
        "$build/bench/startup/bench_startup" "$build/bench/startup/startup_probe" \
        "${BENCH_IDLE_SECONDS:-60}" "${BENCH_STARTUP_PAIRS:-9}"
else
    run "start-up and idle (offscreen)" "$build/bench/startup/bench_startup" \
        "$build/bench/startup/startup_probe" "${BENCH_IDLE_SECONDS:-60}" "${BENCH_STARTUP_PAIRS:-9}"
fi

echo "== Figures"
# A target "<=Nx" or "<Nx" is judged on the ratio, "<=N unit" on the value itself; others are only
# shown. A figure from interleaved pairs brings its median ratio and the lowest and highest
# (fields 9 to 11; the value and reference are then medians too): the ratio is that median.
grep '^figure|' "$log" | awk -F'|' '
    BEGIN { printf "%-14s %-34s %12s   %-28s %12s %8s  %-11s  %-12s %s\n", "benchmark", "measure",
            "value", "reference", "ref. value", "ratio", "lowest-high", "target", "verdict" }
    { r = ($7 > 0) ? $4 / $7 : -1
      spread = ""
      if (NF >= 11) { r = $9 + 0; spread = sprintf("%.2f-%.2f", $10, $11) }
      ratio = (r >= 0) ? sprintf("%.2fx", r) : "-"
      verdict = ""
      if ($8 ~ /^<=[0-9.]+x$/ && r >= 0) {
          limit = substr($8, 3, length($8) - 3); verdict = (r <= limit + 0) ? "met" : "not met"
      } else if ($8 ~ /^<[0-9.]+x$/ && r >= 0) {
          limit = substr($8, 2, length($8) - 2); verdict = (r < limit + 0) ? "met" : "not met"
      } else if (match($8, /^<=[0-9.]+/)) {
          limit = substr($8, 3, RLENGTH - 2); verdict = ($4 <= limit + 0) ? "met" : "not met"
      }
      printf "%-14s %-34s %9s %-2s   %-28s %9s %-2s %8s  %-11s  %-12s %s\n", $2, $3, $4, $5,
             $6, $7, $5, ratio, spread, $8, verdict }'
