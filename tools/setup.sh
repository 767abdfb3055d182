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
  xvfb xdotool x11-utils imagemagick
  locales fonts-ipafont-gothic
  libosmesa6-dev libglu1-mesa-dev libgl-dev
  gstreamer1.0-plugins-good:i386 gstreamer1.0-libav:i386
  gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-plugins-base
  sox lame
  clang libclang-rt-14-dev
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

# Code page 932 under Wine comes from a Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
