#!/usr/bin/env bash
# The source folders layer one way: base at the bottom; stations, controls, winsvc and directory
# beside each other on it; app on top. Of the middle folders only stations uses another one
# (controls). Prints every include that reaches up or sideways and fails when there is one.
src=${1:?usage: check_layers.sh SRC_FOLDER}
status=0
reaches() { # folder, the folders it must not include from
    grep -rnE "^\s*#\s*include\s*[\"<]($2)/" "$src/$1" && status=1
}
reaches stations 'app|winsvc|directory'
reaches controls 'app|stations|winsvc|directory'
reaches winsvc 'app|stations|controls|directory'
reaches directory 'app|stations|controls|winsvc'
reaches base 'app|stations|controls|winsvc|directory'
exit $status
