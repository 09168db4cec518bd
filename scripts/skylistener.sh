#!/usr/bin/env bash
# One entry point for people and CI: installs what a fresh Debian 12 machine lacks, builds,
# then starts the program (run), runs every test (test), runs the unit, widget and player tests
# in the sanitizer build (sanitize), runs each fuzz target for FUZZ_SECONDS (fuzz), plays for
# SOAK_SECONDS watching the memory (soak), prints every benchmark's figures (bench) or makes the
# Debian package and checks that apt can install it here (package), or cross-builds the window
# services for Windows and tests them on real windows under Wine (windows; also part of test).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mode=${1:-run}

build_packages=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev
    qt6-qpa-plugins libqt6svg6 libgl-dev libmpv-dev clang-format dpkg-dev)
test_packages=(icecast2 ffmpeg mpv openssl xvfb xauth xdotool x11-utils openbox trayer dbus
    at-spi2-core dunst
    haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils
    linux-perf gstreamer1.0-tools gstreamer1.0-plugins-base-apps gstreamer1.0-plugins-good
    gstreamer1.0-libav
    clang libclang-rt-14-dev desktop-file-utils appstream)
# The Windows cross compiler, Wine, and the X libraries Wine's display driver loads at run time
# (only recommended by the Wine packages) for running under Xvfb.
windows_packages=(g++-mingw-w64-x86-64 wine wine64 xvfb xauth libxrandr2 libxrender1 libxi6
    libxcursor1 libxfixes3 libxinerama1 libxcomposite1 libfreetype6)

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    # icecast2 asks for passwords on install; the tests bring their own configuration.
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() { # build DIR [cmake args...]
    local dir=$1; shift
    cmake -S "$here" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}

case "$mode" in
run)
    install_missing "${build_packages[@]}"
    build "$here/build" -DSKYLISTENER_TESTS=OFF -DSKYLISTENER_BENCH=OFF
    exec "$here/build/src/skylistener"
    ;;
test)
    install_missing "${build_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}"
    # "run" leaves the tests switched off in build/'s cache; switch them on again, and fail
    # rather than pass when CTest finds no test at all.
    build "$here/build" -DSKYLISTENER_TESTS=ON -DSKYLISTENER_BENCH=ON
    cd "$here/build" && ctest --output-on-failure --no-tests=error -j2 --timeout 300
    ;;
sanitize)
    install_missing "${build_packages[@]}" "${test_packages[@]}"
    build "$here/build-sanitize" -DSKYLISTENER_SANITIZE=ON -DSKYLISTENER_TESTS=ON \
        -DSKYLISTENER_BENCH=OFF
    # Leaks are errors, except the few inside system libraries listed (and explained) there.
    export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1
    export LSAN_OPTIONS=suppressions=$here/tests/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    cd "$here/build-sanitize" &&
        ctest --output-on-failure --no-tests=error -j2 --timeout 600 -L 'unit|widget|player'
    ;;
fuzz)
    install_missing "${build_packages[@]}" "${test_packages[@]}"
    dir=$here/build-fuzz
    CC=clang CXX=clang++ cmake -S "$here" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DSKYLISTENER_FUZZ=ON -DSKYLISTENER_TESTS=OFF -DSKYLISTENER_BENCH=OFF >/dev/null
    targets=(fuzz_station_file fuzz_station_add fuzz_station_import fuzz_settings
        fuzz_directory_answer)
    cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"
    for t in "${targets[@]}"; do
        # The seeds stay as they are; what the fuzzer learns goes into the build folder.
        mkdir -p "$dir/corpus/$t" "$dir/artifacts/$t"
        echo "Fuzzing $t for ${FUZZ_SECONDS:-60} s"
        "$dir/fuzz/$t" -max_total_time="${FUZZ_SECONDS:-60}" -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$dir/artifacts/$t/" \
            "$dir/corpus/$t" "$here/fuzz/corpus/$t" 2>&1 | grep -Ev '^(#[0-9]|"|###### )' || {
            echo "$t found a fault; the input is in $dir/artifacts/$t/" >&2
            exit 1
        }
    done
    ;;
soak)
    install_missing "${build_packages[@]}" "${test_packages[@]}"
    build "$here/build" -DSKYLISTENER_TESTS=ON -DSKYLISTENER_BENCH=ON
    cmake --build "$here/build" --target soak
    ;;
bench)
    install_missing "${build_packages[@]}" "${test_packages[@]}"
    build "$here/build" -DSKYLISTENER_TESTS=ON -DSKYLISTENER_BENCH=ON
    cmake --build "$here/build" --target bench
    ;;
package)
    install_missing "${build_packages[@]}"
    build "$here/build-package" -DSKYLISTENER_TESTS=OFF -DSKYLISTENER_BENCH=OFF
    rm -f "$here"/build-package/skylistener_*.deb
    (cd "$here/build-package" && cpack >/dev/null)
    debs=("$here"/build-package/skylistener_*.deb)
    # A simulated install changes nothing, but fails when a declared dependency cannot be had.
    apt-get install --simulate -qq "${debs[0]}" >/dev/null
    echo "${debs[0]}"
    ;;
windows)
    install_missing cmake "${windows_packages[@]}"
    cmake -S "$here/windows" -B "$here/build-windows" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$here/build-windows" -j"$(nproc)"
    bash "$here/tests/winsvc/run_under_wine.sh" "$here/build-windows/tst_Win32Windows.exe"
    ;;
*)
    echo "usage: $0 [run|test|sanitize|fuzz|soak|bench|package|windows]" >&2
    exit 2
    ;;
esac
