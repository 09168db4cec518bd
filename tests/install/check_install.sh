#!/usr/bin/env bash
# `cmake --install` into a scratch DESTDIR lays out the program, its desktop entry, icon,
# metadata and licence where the desktop looks for them.
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null

fail=0
expect() { # expect TEST PATH
    if ! test "$1" "$stage/usr/$2"; then
        echo "missing or wrong: /usr/$2" >&2
        fail=1
    fi
}
expect -x bin/skylistener
expect -f share/applications/skylistener.desktop
expect -f share/icons/hicolor/scalable/apps/skylistener.svg
expect -f share/metainfo/skylistener.metainfo.xml
expect -f share/doc/skylistener/copyright
[ $fail -eq 0 ] || exit 1

# The entry starts the installed program by name, and the icon is a picture, not a stub.
grep -qx 'Exec=skylistener' "$stage/usr/share/applications/skylistener.desktop"
grep -q '<svg' "$stage/usr/share/icons/hicolor/scalable/apps/skylistener.svg"
desktop-file-validate "$stage/usr/share/applications/skylistener.desktop"

# Nothing else goes into the tree: no test programs, libraries or headers.
unexpected=$(cd "$stage" && find . -type f | grep -v -e '^./usr/bin/skylistener$' \
    -e '^./usr/share/applications/' -e '^./usr/share/icons/' -e '^./usr/share/metainfo/' \
    -e '^./usr/share/doc/skylistener/' || true)
if [ -n "$unexpected" ]; then
    echo "unexpected files installed:" >&2
    echo "$unexpected" >&2
    exit 1
fi
echo "install tree is complete"
