#!/usr/bin/env bash
# Builds the Debian package from a finished build and checks it: the menu
# entry, the AppStream metadata and the udev rule pass their validators,
# the package carries every piece and its run-time dependencies, lintian
# finds no error; then the package is installed, the installed program
# answers --version, and the package is removed again.
# Usage: check-package.sh <build dir>   (installing needs root or sudo)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: check-package.sh <build dir>}
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
version=$(sed -nE 's/^project\(LabelPrinterSetup VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
id=org.labelsetup.LabelSetup
rule=70-labelsetup-printers.rules
passes=0
failures=0
check() {  # check <what> <command...>
    local what=$1; shift
    if "$@"; then
        echo "ok      $what"; passes=$((passes + 1))
    else
        echo "FAILED  $what"; failures=$((failures + 1))
    fi
}

rm -f "$build"/labelsetup_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(realpath "$build"/labelsetup_"$version"_*.deb)

check "desktop entry" desktop-file-validate "packaging/$id.desktop"
check "AppStream metadata" appstreamcli validate --no-net --explain "$build/packaging/$id.metainfo.xml"

# udevadm verify (systemd 253 and later) where there is one; otherwise every
# rule line must be comma-separated KEY[{attr}] op "value" pairs.
rule_syntax() {
    local pair='[A-Z_]+(\{[^}]+\})?[[:space:]]*(==|!=|\+=|-=|:=|=)[[:space:]]*"[^"]*"'
    [ -s "packaging/$rule" ] || return 1
    grep -vE '^[[:space:]]*(#|$)' "packaging/$rule" \
        | grep -vE "^$pair([[:space:]]*,[[:space:]]*$pair)*[[:space:]]*$" && return 1
    return 0
}
if udevadm verify --help >/dev/null 2>&1; then
    check "udev rule (udevadm verify)" udevadm verify "packaging/$rule"
else
    check "udev rule (syntax)" rule_syntax
fi
# The user at the seat gets the printers; nobody gets a world-writable node.
check "udev rule gives uaccess for 0xE51D" \
    grep -qE 'ATTR\{idVendor\}=="e51d".*TAG\+="uaccess"' "packaging/$rule"
check "udev rule sets no mode" bash -c "! grep -qE '(^|,)[[:space:]]*MODE' packaging/$rule"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for piece in ./usr/bin/labelsetup ./usr/bin/labelsetup-cli "./usr/share/applications/$id.desktop" \
             "./usr/share/metainfo/$id.metainfo.xml" "./usr/lib/udev/rules.d/$rule" \
             ./usr/share/icons/hicolor/48x48/apps/labelsetup.png \
             ./usr/share/icons/hicolor/256x256/apps/labelsetup.png \
             ./usr/share/doc/labelsetup/copyright ./usr/share/doc/labelsetup/changelog.gz \
             ./usr/share/man/man1/labelsetup.1.gz ./usr/share/man/man1/labelsetup-cli.1.gz; do
    check "package holds $piece" grep -qxF "$piece" <<<"$contents"
done
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libusb-1.0-0 libc6; do
    check "package depends on $library" grep -q "$library" <<<"$depends"
done
check "package reloads the udev rules" bash -c "dpkg-deb -I '$deb' postinst | grep -q 'udevadm control --reload-rules'"
check "lintian finds no error" lintian --fail-on error "$deb"

# Install it as a user would, but never over a file that belongs to
# something else.
owned_elsewhere=0
ours=$(dpkg-query -L labelsetup 2>/dev/null || true)
for file in $(grep -v '/$' <<<"$contents" | sed 's/^\.//'); do
    if [ -e "$file" ] && ! grep -qxF "$file" <<<"$ours"; then
        echo "refusing to install: $file exists and is not the package's"
        owned_elsewhere=1
    fi
done
if [ "$owned_elsewhere" -eq 0 ]; then
    check "package installs" $SUDO apt-get install -y -qq --no-install-recommends "$deb"
    check "installed labelsetup --version" \
        bash -c "[ \"\$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/labelsetup --version)\" = 'labelsetup $version' ]"
    check "installed labelsetup-cli --help" \
        bash -c "env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/labelsetup-cli --help | grep -q '^Usage: labelsetup-cli'"
    check "package removes" $SUDO apt-get purge -y -qq labelsetup
    check "nothing left behind" bash -c "[ ! -e /usr/bin/labelsetup ] && [ ! -e /usr/bin/labelsetup-cli ] && [ ! -e /usr/lib/udev/rules.d/$rule ] && ! dpkg -s labelsetup >/dev/null 2>&1"
else
    failures=$((failures + 1))
fi

echo "package: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
