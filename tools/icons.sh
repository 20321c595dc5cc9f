#!/usr/bin/env bash
# Renders the program's PNG icons from its scalable icon, for the sizes that
# are installed (hicolor 48, 64, 128 and 256) and compiled into the program as
# its window icon. The PNGs are committed, so that a build needs no SVG tool;
# run this again after changing install/org.kansu.Kansu.svg.
# They were made with rsvg-convert 2.54 (Debian 12's librsvg2-bin), which this
# script installs when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v rsvg-convert >/dev/null; then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends librsvg2-bin
fi
# 192 and 512 are the web app's icons (its manifest).
for size in 48 64 128 256 192 512; do
  rsvg-convert -w "$size" -h "$size" install/org.kansu.Kansu.svg -o "install/icons/$size.png"
done
ls -l install/icons
