#!/usr/bin/env bash
# The lesson in a browser (out/web/kansu.html, made by tools/web.sh): driven in
# headless Chromium and in WebKit, and compared pixel by pixel with the same
# lesson in the desktop program. See tests/web_lesson.py.
# Usage: bash tests/e2e_web.sh <program> <output-dir>
set -u
here=$(cd "$(dirname "$0")" && pwd)
page=$here/../out/web/kansu.html
if [[ ! -f $page ]]; then
    echo "e2e_web: $page is missing: tools/web.sh makes it" >&2
    exit 1
fi
mkdir -p "$2/web"
exec /usr/bin/python3 "$here/web_lesson.py" "$1" "$page" "$2/web"
