#!/usr/bin/env bash
# Installs, from Debian 12's packages, whatever the build, the game and the tests need and is missing;
# with the argument "packaging", also what the package check needs; with "cross", the cross compilers and
# emulators of the phones' CPUs (scripts/check-phone-cpus.sh).
set -euo pipefail

packages=(
    build-essential cmake ccache clang clang-format libclang-rt-14-dev
    qtbase5-dev qtdeclarative5-dev qtdeclarative5-dev-tools qttools5-dev qttools5-dev-tools
    qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qttest
    xvfb xauth fonts-dejavu-core librsvg2-bin
    # The sound effects' QML module; the sound server and the recorder of the recorded sound test.
    qml-module-qtmultimedia pulseaudio pulseaudio-utils
)
# "packaging": the tools that build and check the phone and desktop packages (scripts/check-packaging.sh).
if [ "${1:-}" = packaging ]; then
    packages+=(rpm desktop-file-utils appstream dpkg-dev file bzip2)
fi
if [ "${1:-}" = cross ]; then
    packages+=(g++-aarch64-linux-gnu g++-arm-linux-gnueabihf qemu-user)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
