#!/bin/sh
# Installs what the browser build needs (Debian's emscripten, and node and npm
# when the machine has none: npm fetches the zip library of the quiz maker
# page; any node from 18 on will do), or says how to. Its list is kept apart
# from the build's so that the desktop build never needs a web compiler. With
# WITH_BROWSER=1 it also installs Debian's Chromium, which only the browser
# test uses.
set -e
PACKAGES="emscripten"
command -v node >/dev/null 2>&1 || PACKAGES="$PACKAGES nodejs"
command -v npm >/dev/null 2>&1 || PACKAGES="$PACKAGES npm"
if [ "${WITH_BROWSER:-0}" = 1 ]; then
    PACKAGES="$PACKAGES chromium"
fi

exec sh "$(dirname "$0")/ensure-packages.sh" $PACKAGES
