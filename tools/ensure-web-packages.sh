#!/bin/sh
# Installs what the browser build needs (Debian's emscripten), or says how to.
# Its list is kept apart from the build's so that the desktop build never needs a
# web compiler. With WITH_BROWSER=1 it also installs Debian's
# Chromium, which only the browser test uses, and node and npm when the
# machine has none (any node from 18 on will do).
set -e
PACKAGES="emscripten"
if [ "${WITH_BROWSER:-0}" = 1 ]; then
    PACKAGES="$PACKAGES chromium"
    command -v node >/dev/null 2>&1 || PACKAGES="$PACKAGES nodejs"
    command -v npm >/dev/null 2>&1 || PACKAGES="$PACKAGES npm"
fi

exec sh "$(dirname "$0")/ensure-packages.sh" $PACKAGES
