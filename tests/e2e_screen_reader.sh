#!/usr/bin/env bash
# The program as a screen reader finds it: the program runs in Xvfb with a
# session bus and the accessibility bus (AT-SPI), and tests/screen_reader.py
# reads its tree, presses "出す" through its accessible action and takes a
# short lesson by keyboard, listening to what the program tells.
#
# Usage: bash tests/e2e_screen_reader.sh <program> <output-dir>
# The program's log and the transcript of what was heard go to <output-dir>.
set -u

fail() {
    echo "e2e_screen_reader: FAILED: $*" >&2
    exit 1
}

(($# == 2)) || { echo "usage: bash $0 <program> <output-dir>" >&2; exit 2; }
prog=$1
out=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
[[ -x $prog ]] || fail "program '$prog' does not exist or is not executable"
for tool in Xvfb xdotool dbus-run-session; do
    command -v "$tool" >/dev/null || fail "'$tool' is missing (tools/setup.sh --tests installs it)"
done
[[ -x $launcher ]] || fail "'$launcher' is missing (tools/setup.sh --tests installs at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is missing (tools/setup.sh --tests installs it)"
mkdir -p "$out" || fail "cannot create '$out'"
out=$(cd "$out" && pwd)
rm -f "$out"/screen-reader-*

xvfb_pid=""
cleanup() {
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT
trap 'fail "stopped by a signal"' INT TERM HUP

source "$here/xvfb.sh"
start_xvfb 241 280 "$out/screen-reader-xvfb.log" || fail "no X server could be started"

export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d) || fail "mktemp failed"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR

# Inside a session bus of its own: the accessibility bus, the program, the reader.
timeout 180 dbus-run-session -- bash -c '
    launcher=$1 prog=$2 here=$3 out=$4
    "$launcher" --launch-immediately >"$out/screen-reader-bus.log" 2>&1 &
    bus=$!
    "$prog" >"$out/screen-reader-program.log" 2>&1 &
    pid=$!
    /usr/bin/python3 "$here/screen_reader.py" "$pid" "$out/screen-reader-transcript.txt"
    status=$?
    kill "$pid" "$bus" 2>/dev/null
    wait
    exit $status
' bash "$launcher" "$prog" "$here" "$out" 2>"$out/screen-reader-bus-errors.log"
status=$?
rm -rf "$XDG_RUNTIME_DIR"
((status == 124)) && fail "no answer within 180 s"
((status == 0)) || fail "see above; the program's log: $(tail -5 "$out/screen-reader-program.log")"
echo "e2e_screen_reader: passed"
