#!/usr/bin/env bash
# Builds the lesson for browsers, optimised, and writes out/web/:
#   kansu.html   one file (code, WebAssembly, face and icon inside) that opens
#                from disk, from a USB stick or a shared drive, in any current
#                browser, and asks the network for nothing
#   index.html   the same lesson for a web server, with its files beside it
# Installs what is missing first. Usage: tools/web.sh [--full-font]
# --full-font ships the original IPA P Gothic unchanged instead of the subset
# of it that the page carries by default.
set -euo pipefail
cd "$(dirname "$0")/.."
full_font=OFF
[[ "${1:-}" == "--full-font" ]] && full_font=ON
tools/setup.sh --web
# Debian's emcc runs JavaScript tools that need Debian's node modules.
export NODE_PATH=/usr/share/nodejs:/usr/lib/nodejs${NODE_PATH:+:$NODE_PATH}
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DKANSU_FULL_FONT=$full_font >/dev/null
cmake --build build-web -j"$(nproc)"
rm -rf out/web
mkdir -p out/web
cp -r build-web/page/. out/web/
echo "written: out/web/kansu.html (one file) and out/web/index.html with its files"
