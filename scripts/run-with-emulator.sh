#!/usr/bin/env bash
# Builds the tool and starts it next to the emulated printer: the printer
# appears on USB port 2 (through umockdev), listens on 127.0.0.1:9100, and
# is on an emulated serial port (/dev/ttyUSB0, at LPS_SERIAL_BAUD, 115200
# unless set) and an emulated Bluetooth link (/dev/rfcomm0).
# Every frame the printer receives is printed here. Arguments are passed to
# the tool (for example a language: "en", "de"). The command line,
# build/run/cli/labelsetup-cli, is built too (see the README).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build/run -j"$(nproc)" --target labelsetup labelsetup-cli lps-launcher lps-emuprinter
export TMPDIR=/tmp   # keeps umockdev's socket paths short enough
exec build/run/tools/launcher/lps-launcher --serial-baud "${LPS_SERIAL_BAUD:-115200}" -- build/run/app/labelsetup "$@"
