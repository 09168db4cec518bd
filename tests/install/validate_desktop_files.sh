#!/usr/bin/env bash
# The desktop entry and the AppStream metadata pass the desktop's own validators, and the
# metadata names the desktop entry it belongs to.
set -euo pipefail
resources=$1

desktop-file-validate "$resources/skylistener.desktop"
# The component id is the desktop file's name, which the validator would like in reverse-domain
# form; that is a naming wish, not a fault, so it is reported without failing.
appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
    "$resources/skylistener.metainfo.xml"

grep -q '<id>skylistener.desktop</id>' "$resources/skylistener.metainfo.xml"
grep -q '<launchable type="desktop-id">skylistener.desktop</launchable>' \
    "$resources/skylistener.metainfo.xml"
grep -qx 'Icon=skylistener' "$resources/skylistener.desktop"
grep -qx 'Exec=skylistener' "$resources/skylistener.desktop"
grep -qx 'Categories=Audio;AudioVideo;Player;' "$resources/skylistener.desktop"
grep -q '^Name\[cs\]=\|^GenericName\[cs\]=' "$resources/skylistener.desktop"
echo "desktop entry and metadata are valid"
