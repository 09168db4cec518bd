#!/usr/bin/env bash
# Runs a Windows test program under Wine on a private Xvfb display, in a fresh Wine prefix in a
# temporary folder (never the user's home), and exits with the program's exit code.
#   run_under_wine.sh PROGRAM.exe
set -euo pipefail
exe=$(realpath "$1")

for tool in wine wineserver Xvfb; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (apt-get install wine wine64 xvfb)" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/skylistener-wine.XXXXXX")
xvfb=""
cleanup() {
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# -displayfd: the server takes a free display and writes its number, so parallel runs never meet.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 2; }

export DISPLAY=:$(head -n1 "$work/display")
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
# The wine server keeps its socket in a folder of its own under TMPDIR: ours goes with the rest.
mkdir "$work/tmp"
export TMPDIR=$work/tmp
# No .NET or HTML engine: a fresh prefix would otherwise offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
unset WAYLAND_DISPLAY

status=0
timeout 240 wine "$exe" || status=$?
exit "$status"
