#!/usr/bin/env bash
# Installs what the program and its tests need on Debian 12, where missing.
# Usage: tools/setup.sh [--tests] [--web]
#   --tests  also what the tests need (the browsers among them)
#   --web    what building the lesson for browsers needs
set -euo pipefail
# The toolkit's Japanese texts (qt6-translations-l10n) are read at run time.
packages=(g++ cmake make qt6-base-dev qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin libxcb1-dev fonts-ipafont-gothic
          qt6-translations-l10n python3-polib fonts-noto-cjk fonts-noto-core)
web=(emscripten node-acorn python3-fonttools python3-brotli)
for option in "$@"; do
  case $option in
    --tests)
      # openbox and xfwm4: the window managers the desktop test runs the program under.
      # orca, speech-dispatcher, its espeak-ng module, pulseaudio (a null sink to speak
      # into) and locales (localedef): the screen reader that tests/e2e_orca.sh listens to.
      packages+=(xvfb xdotool x11-apps x11-utils imagemagick libbenchmark-dev valgrind xauth
                 desktop-file-utils appstream dpkg-dev lintian dbus at-spi2-core python3-pyatspi
                 openbox xfwm4 orca speech-dispatcher speech-dispatcher-espeak-ng pulseaudio locales
                 "${web[@]}" chromium chromium-driver python3-selenium webkit2gtk-driver firefox-esr
                 python3-websocket python3-pil
                 gettext python3-polib xclip)
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
