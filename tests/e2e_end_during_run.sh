#!/usr/bin/env bash
# "終了" during an automatic run ends the program at once and cleanly: the
# program runs in a real X server (Xvfb), xdotool sets the pace to "200"
# (1-second pauses), starts the run with "自    動" and clicks "終了" in the
# middle of a pause; the program must be gone within 2 s with status 0.
#
# Usage: bash tests/e2e_end_during_run.sh <program> <output-dir>
# The program's log and the screenshots of the blackboard go to <output-dir>.
#
# There is no window manager, so the window has no frame: places below are
# pixels of its client area (twips / 15 of the layout).
set -u

fail() {
    echo "e2e_end_during_run: FAILED: $*" >&2
    exit 1
}

(($# == 2)) || { echo "usage: bash $0 <program> <output-dir>" >&2; exit 2; }
prog=$1
out=$2
[[ -x $prog ]] || fail "program '$prog' does not exist or is not executable"
for tool in Xvfb xdotool import compare; do
    command -v "$tool" >/dev/null || fail "'$tool' is missing (tools/setup.sh --tests installs it)"
done
mkdir -p "$out" || fail "cannot create '$out'"
out=$(cd "$out" && pwd)
rm -f "$out"/end-during-run-*

xvfb_pid=""
prog_pid=""
cleanup() {
    [[ -n $prog_pid ]] && kill "$prog_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT
trap 'fail "stopped by a signal"' INT TERM HUP

source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
start_xvfb 157 199 "$out/end-during-run-xvfb.log" || fail "no X server could be started"

# Alive: the process exists and has not ended (a zombie has ended).
alive() { [[ -e /proc/$prog_pid && $(awk '{print $3}' "/proc/$prog_pid/stat" 2>/dev/null) != Z ]]; }

QT_QPA_PLATFORM=xcb "$prog" >"$out/end-during-run-program.log" 2>&1 &
prog_pid=$!
window=$(timeout 15 xdotool search --sync --name '次関数' 2>/dev/null | head -1)
[[ -n $window ]] || fail "the program's window did not appear within 15 s: $(tail -5 "$out/end-during-run-program.log")"
sleep 0.5 # let it paint

click() { # X Y in the client area
    xdotool mousemove --window "$window" "$1" "$2" click 1
}
blackboard() { # the blackboard's frame, as a PNG
    import -window "$window" -crop 601x409+16+64 +repage "$out/end-during-run-$1.png" ||
        fail "no screenshot could be taken"
}

click 229 523 # into the text of the speed box
xdotool key ctrl+a
xdotool type --delay 50 '200'
sleep 0.3
blackboard 1-before
click 72 512 # "自    動"
sleep 1.5
alive || fail "the program ended during the run, before '終了': $(tail -5 "$out/end-during-run-program.log")"
blackboard 2-running
# P has moved: the run is going (else the check below would prove nothing).
changed=$(compare -metric AE "$out/end-during-run-1-before.png" "$out/end-during-run-2-running.png" null: 2>&1)
[[ $changed =~ ^[0-9]+$ && $changed -gt 0 ]] || fail "the run did not start: the blackboard did not change ($changed)"

click 576 32 # "終了"
for _ in $(seq 20); do
    alive || break
    sleep 0.1
done
alive && fail "the program was still running 2 s after '終了' during a pause of the run"
wait "$prog_pid"
status=$?
prog_pid=""
((status == 0)) || fail "the program ended with status $status after '終了' during the run: $(tail -5 "$out/end-during-run-program.log")"
echo "e2e_end_during_run: passed ('終了' during a pause of the run ended the program with status 0)"
