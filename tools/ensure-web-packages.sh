#!/bin/sh
# Installs what the browser build needs (Debian's emscripten), or says how to.
# Kept apart from ensure-packages.sh so that the desktop build never needs a
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

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Please run:"
    echo "  sudo apt-get update && sudo apt-get install -y$missing"
    exit 1
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends $missing
