#!/usr/bin/env bash
# The source folders layer one way: base at the bottom; stations, controls, winsvc and directory
# on it; app on top. Prints every include that reaches up a layer and fails when there is one.
src=${1:?usage: check_layers.sh SRC_FOLDER}
status=0
reaches() { # folder, the folders above it
    grep -rnE "^\s*#\s*include\s*[\"<]($2)/" "$src/$1" && status=1
}
for folder in stations controls winsvc directory; do reaches "$folder" app; done
reaches base 'app|stations|controls|winsvc|directory'
exit $status
