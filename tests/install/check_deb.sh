#!/usr/bin/env bash
# `cpack` makes a Debian package that declares its maintainer, section and the libraries it
# needs, and carries the installed files.
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log" >&2; exit 1; }
debs=("$out"/skylistener_*.deb)
[ -f "${debs[0]}" ] || { echo "no package made" >&2; cat "$out/cpack.log" >&2; exit 1; }
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = skylistener ]
[ "$(field Section)" = sound ]
[ -n "$(field Maintainer)" ]
[ -n "$(field Description)" ]
depends=$(field Depends)
echo "Depends: $depends"
for lib in libmpv2 libqt6widgets6 libqt6gui6 libqt6core6 libqt6svg6 libc6; do
    if ! grep -qE "(^|, )$lib( |,|$)" <<<"$depends"; then
        echo "the package does not declare $lib" >&2
        exit 1
    fi
done

contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/skylistener ./usr/share/applications/skylistener.desktop \
    ./usr/share/icons/hicolor/scalable/apps/skylistener.svg \
    ./usr/share/metainfo/skylistener.metainfo.xml ./usr/share/doc/skylistener/copyright; do
    grep -q " $path\$" <<<"$contents" || { echo "the package lacks $path" >&2; exit 1; }
done
echo "package $(basename "$deb") is complete"
