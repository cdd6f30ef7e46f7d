#!/usr/bin/env bash
# Installs everything the tool, its emulated printer, its tests, its fuzz
# targets and its Debian package (built and checked by the tests) need on
# Debian 12. Safe to run again.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
    build-essential cmake pkg-config git \
    qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev \
    libusb-1.0-0-dev umockdev libumockdev-dev \
    qt6-serialport-dev \
    dbus-daemon python3-dbusmock \
    iproute2 procps openssl \
    clang libclang-rt-14-dev llvm \
    dpkg-dev fakeroot file desktop-file-utils appstream lintian udev \
    ansible-core \
    fonts-noto-cjk >/dev/null
