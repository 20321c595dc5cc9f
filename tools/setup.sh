#!/usr/bin/env bash
# Installs what the program and its tests need on Debian 12, where missing.
# Usage: tools/setup.sh [--tests] [--web]
#   --tests  also what the tests need (the browsers among them)
#   --web    what building the lesson for browsers needs
set -euo pipefail
packages=(g++ cmake make qt6-base-dev fonts-ipafont-gothic)
web=(emscripten node-acorn python3-fonttools python3-brotli)
for option in "$@"; do
  case $option in
    --tests)
      packages+=(xvfb xdotool x11-apps imagemagick libbenchmark-dev valgrind xauth
                 desktop-file-utils appstream dpkg-dev lintian dbus at-spi2-core python3-pyatspi
                 "${web[@]}" chromium chromium-driver python3-selenium webkit2gtk-driver firefox-esr
                 python3-websocket python3-pil)
      ;;
    --web) packages+=("${web[@]}") ;;
  esac
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
