#!/bin/sh
# Installs the Debian packages the build and the tests need, or says how to.
# Given package names, it sees to those instead (tools/ensure-web-packages.sh).
set -e
PACKAGES="cmake ninja-build g++ make pkg-config libsdl2-dev libsdl2-image-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev console-setup-linux zlib1g-dev libzip-dev libxml2-dev unzip"
[ $# -gt 0 ] && PACKAGES="$*"

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
