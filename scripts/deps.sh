#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the programs need, when missing; with
# --test also those only the tests need (a virtual display and window manager, PDF and
# packaging tools).
set -euo pipefail
packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-serialport-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    libgl-dev libgtest-dev googletest
    fonts-wqy-microhei qt6-translations-l10n
    help2man
)
if [ "${1:-}" = "--test" ]; then
    packages+=(
        xvfb xauth poppler-utils
        openbox xdotool imagemagick
        lintian appstream desktop-file-utils
        librsvg2-bin  # scripts/icons.sh
    )
fi
if ! dpkg -s "${packages[@]}" >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${packages[@]}"
fi
