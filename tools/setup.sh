#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the saver's demo run need.
# Safe to run again: dpkg and apt skip what is already there.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(
  cmake make g++ pkg-config googletest python3
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  # What Wine loads at run time, for both of its sides; with recommends off
  # nothing else brings them. The 32-bit side runs the shipped build where the
  # machine executes 32-bit code: OpenGL through Mesa, and the X extensions for
  # the display-mode switch (XRandR, VidMode), input, cursors and windows.
  libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
  libxrandr2:i386 libxxf86vm1:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386
  libxcomposite1:i386 libxrender1:i386 libxfixes3:i386
  libgl1 libglx-mesa0 libgl1-mesa-dri
  libxrandr2 libxxf86vm1 libxi6 libxcursor1 libxinerama1
  libxcomposite1 libxrender1 libxfixes3
  xvfb xdotool x11-utils imagemagick
  # The two-monitor test display: Xorg with the dummy video driver, and xrandr.
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  locales fonts-ipafont-gothic
  libosmesa6-dev libglu1-mesa-dev libgl-dev
  gstreamer1.0-plugins-good:i386 gstreamer1.0-libav:i386
  gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-plugins-base
  sox lame
  # chattr: a folder that takes no new file even for root (the settings tests).
  e2fsprogs
  clang libclang-rt-14-dev
  libgif-dev
  nsis
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  stamp=none
else
  stamp=ok
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] || [ "$stamp" = none ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine takes the ANSI code page from the locale: code page 932 from a Japanese
# one, 1252 from a German one (the tests run the host under both).
for loc in ja_JP de_DE; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf8$"; then
    $SUDO sed -i "s/^# *\($loc.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen
  fi
done
