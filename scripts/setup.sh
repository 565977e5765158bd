#!/usr/bin/env bash
# Installs the Debian packages Velmora needs, skipping those already present.
#   scripts/setup.sh         what building and running need
#   scripts/setup.sh --test  the same plus the display server, window managers and tools
#                            the tests and benchmarks drive
#   scripts/setup.sh --lint  the same plus clang-format and clang-tidy
#   scripts/setup.sh --windows  the same as --test plus the MinGW cross compiler, NSIS and
#                            Wine, which build and try the Windows program
set -euo pipefail

# qt6-wayland: a Wayland desktop gets the native, sharp path. qt6-translations-l10n:
# Qt's own strings (the role names screen readers are given) in the player's language.
packages=(cmake make g++ pkg-config qt6-base-dev qt6-qpa-plugins qt6-wayland qt6-translations-l10n libxcb1-dev libxcb-xkb-dev libxcb-xinput-dev culmus fonts-dejavu-core)
if [ "${1:-}" = "--test" ] || [ "${1:-}" = "--windows" ]; then
    packages+=(xvfb openbox xdotool wmctrl icewm dbus x11-utils x11-xserver-utils
               lintian dpkg-dev file appstream appstream-compose desktop-file-utils
               python3-pyatspi python3-pil python3-xlib x11-xkb-utils gir1.2-atspi-2.0 at-spi2-core weston orca fluxbox xfwm4 qt6ct
               speech-dispatcher speech-dispatcher-espeak-ng espeak-ng pulseaudio)
fi
if [ "${1:-}" = "--windows" ]; then
    # ninja and perl build Qt itself; dpkg-dev and xz-utils unpack its Debian source.
    packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools ninja-build perl xz-utils nsis wine wine64 unzip)
fi
if [ "${1:-}" = "--lint" ]; then
    packages+=(clang-format clang-tidy)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
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
