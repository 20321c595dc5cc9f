#!/usr/bin/env bash
# The lesson heard through a real screen reader: Orca with its default
# settings and speech-dispatcher's espeak-ng voice, in a private session
# (Xvfb, a session bus, a PulseAudio null sink, the accessibility bus,
# openbox), in a Japanese locale. The desktop program and the page (in
# Chromium, out/web/kansu.html from tools/web.sh) are driven by keys alone and
# what Orca says, read from its debug log, is checked: see tests/orca_listen.py.
# Last, one step on the desktop in English is heard in English words.
#
# Usage: bash tests/e2e_orca.sh <program> <output-dir>
# The transcripts (orca-desktop.txt, orca-page.txt) and Orca's log go to
# <output-dir>. KANSU_ORCA_RECORD_ONLY=1 records and reports without failing.
# Nothing of the system's configuration is changed: HOME, the XDG folders,
# the runtime folder and, where the system has no Japanese locale, the locale
# itself (built with localedef) are in a private folder removed at the end.
set -u

fail() {
    echo "e2e_orca: FAILED: $*" >&2
    exit 1
}

(($# == 2)) || { echo "usage: bash $0 <program> <output-dir>" >&2; exit 2; }
prog=$1
out=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
page=$here/../out/web/kansu.html
[[ -x $prog ]] || fail "program '$prog' does not exist or is not executable"
[[ -f $page ]] || fail "$page is missing: tools/web.sh makes it"
for tool in Xvfb xdotool dbus-run-session orca speech-dispatcher pulseaudio openbox chromium localedef; do
    command -v "$tool" >/dev/null || fail "'$tool' is missing (tools/setup.sh --tests installs it)"
done
[[ -x /usr/libexec/at-spi-bus-launcher ]] || fail "at-spi2-core is missing (tools/setup.sh --tests installs it)"
[[ -x /usr/lib/speech-dispatcher-modules/sd_espeak-ng ]] ||
    fail "speech-dispatcher-espeak-ng is missing (tools/setup.sh --tests installs it)"
mkdir -p "$out" || fail "cannot create '$out'"
out=$(cd "$out" && pwd)
rm -f "$out"/orca-*

private=$(mktemp -d /tmp/kansu-orca.XXXXXX) || fail "mktemp failed"
xvfb_pid=""
cleanup() {
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    # What the session's buses started on their own (the accessibility
    # registry, a speech module) carries this session's marker: end those.
    local pid
    for pid in $(grep -lsz "^KANSU_ORCA_SESSION=$private\$" /proc/[0-9]*/environ | cut -d/ -f3); do
        [[ $pid != "$$" ]] && kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$private"
}
trap cleanup EXIT
trap 'fail "stopped by a signal"' INT TERM HUP

began=$SECONDS
mkdir -p "$private"/{home,config,data,cache,runtime,locale} && chmod 700 "$private/runtime"
if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
    localedef -i ja_JP -f UTF-8 "$private/locale/ja_JP.UTF-8" >"$out/orca-localedef.log" 2>&1 ||
        fail "no Japanese locale could be built (see $out/orca-localedef.log)"
    export LOCPATH=$private/locale
fi
export LANG=ja_JP.UTF-8 LANGUAGE=ja
unset LC_ALL
export KANSU_ORCA_SESSION=$private HOME=$private/home XDG_CONFIG_HOME=$private/config \
    XDG_DATA_HOME=$private/data XDG_CACHE_HOME=$private/cache XDG_RUNTIME_DIR=$private/runtime \
    GSETTINGS_BACKEND=memory

source "$here/xvfb.sh"
start_xvfb 281 320 "$out/orca-xvfb.log" || fail "no X server could be started"

timeout 540 dbus-run-session -- /usr/bin/python3 "$here/orca_listen.py" "$prog" "$page" "$out" \
    2>"$out/orca-driver-errors.log"
status=$?
echo "e2e_orca: $((SECONDS - began)) s in all"
((status == 124)) && fail "no end within 540 s"
((status == 0)) || fail "see above; the transcripts are in $out"
echo "e2e_orca: passed"
