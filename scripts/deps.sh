#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need, when missing.
set -euo pipefail
packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-serialport-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    libgl-dev libgtest-dev googletest
    xvfb xauth fonts-wqy-microhei poppler-utils
    openbox xdotool imagemagick
    qt6-translations-l10n
)
if ! dpkg -s "${packages[@]}" >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${packages[@]}"
fi
