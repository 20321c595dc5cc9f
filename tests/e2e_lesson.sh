#!/usr/bin/env bash
# A whole lesson, driven from outside as a pupil would: the program runs in a
# real X server (Xvfb) and xdotool moves the mouse, drags the blocks, clicks
# the buttons and check boxes and types into the speed box. What the program
# shows is read back from screenshots, pixel by pixel.
#
# Usage: bash tests/e2e_lesson.sh <program> <output-dir>
# Every screenshot is kept in <output-dir> as a PNG, with the program's log.
#
# There is no window manager, so the window sits at (0, 0) without a frame
# and its client pixels are screen pixels. Places are client pixels of the
# layout (twips / 15); the three picture boxes have a 2-pixel border, so their
# drawing starts at
#   blackboard  (18, 66)   frame at (16, 64), 601 x 409
#   graph pane  (634, 18)  frame at (632, 16), 393 x 513
#   table       (10, 562)  frame at (8, 560), 609 x 113
set -u

if (($# != 2)); then
    echo "usage: bash $0 <program> <output-dir>" >&2
    exit 2
fi
prog=$1
out=$2
passed=0
failed=0
shot="" # the PNG of the latest stage

die() {
    echo "e2e_lesson: FATAL: $*" >&2
    echo "e2e_lesson: $passed passed, $((failed + 1)) failed"
    exit 1
}

[[ -x $prog ]] || die "program '$prog' does not exist or is not executable"
for tool in Xvfb xdotool xwd convert md5sum; do
    command -v "$tool" >/dev/null || die "'$tool' is missing (tools/setup.sh --tests installs it)"
done
convert -version 2>/dev/null | grep -q ImageMagick || die "'convert' is not ImageMagick's (tools/setup.sh --tests installs it)"
mkdir -p "$out" || die "cannot create '$out'"
out=$(cd "$out" && pwd)
rm -f "$out"/[0-9][0-9]-*.png

work=$(mktemp -d) || die "mktemp failed"
xvfb_pid=""
prog_pid=""
cleanup() {
    [[ -n $prog_pid ]] && kill "$prog_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    [[ -n $prog_pid ]] && wait "$prog_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'die "stopped by a signal"' INT TERM HUP

# ---- the X server ------------------------------------------------------------

# A display of our own.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
start_xvfb 71 140 "$work/xvfb.log" || die "could not start Xvfb on any free display: $(tail -3 "$work/xvfb.log" 2>/dev/null)"
echo "e2e_lesson: Xvfb on $DISPLAY"

# ---- screenshots and pixels --------------------------------------------------

stage=0

# Waits until the screen stops changing (two equal grabs 0.1 s apart, at most
# about 4 s), then keeps it as <output-dir>/NN-<name>.png.
screenshot() {
    local previous="" sum
    for _ in $(seq 40); do
        sleep 0.1
        xwd -root -silent >"$work/now.xwd" 2>/dev/null || continue
        sum=$(md5sum <"$work/now.xwd")
        [[ $sum == "$previous" ]] && break
        previous=$sum
    done
    stage=$((stage + 1))
    shot=$(printf '%s/%02d-%s.png' "$out" "$stage" "$1")
    convert "xwd:$work/now.xwd" "$shot" || die "cannot convert the screenshot to $shot"
    echo "e2e_lesson: screenshot $shot"
}

# place SPACE X Y: sets sx, sy to the screen pixel of pixel (X, Y) of the
# blackboard (bb), the graph pane (pane), the table (table) or the screen.
place() {
    case $1 in
    bb) sx=$((18 + $2)) sy=$((66 + $3)) ;;
    pane) sx=$((634 + $2)) sy=$((18 + $3)) ;;
    table) sx=$((10 + $2)) sy=$((562 + $3)) ;;
    screen) sx=$2 sy=$3 ;;
    esac
}

# pixels X Y W H: "r g b" of each pixel of that screen rectangle of the shot.
pixels() {
    convert "$shot" -crop "$3x$4+$1+$2" +repage -depth 8 txt:- |
        sed -n 's/^[0-9]*,[0-9]*: *(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p'
}
hex() { awk '{ printf "%02X%02X%02X ", $1, $2, $3 }'; }

# count X Y W H CONDITION: how many pixels of the screen rectangle meet the
# awk condition on r, g and b.
count() {
    pixels "$1" "$2" "$3" "$4" | awk -v n=0 "{ r=\$1; g=\$2; b=\$3; if ($5) n++ } END { print n }"
}

# is RRGGBB [TOLERANCE]: the awk condition for that colour, each channel give
# or take the tolerance.
is() {
    local c=$1 t=${2:-0} r g b
    r=$((16#${c:0:2})) g=$((16#${c:2:2})) b=$((16#${c:4:2}))
    echo "r>=$r-$t && r<=$r+$t && g>=$g-$t && g<=$g+$t && b>=$b-$t && b<=$b+$t"
}
readonly WHITE=FFFFFF GREY=C0C0C0 GREEN=008000 BLACK=000000 RED=FF0000 YELLOW=FFFF00
readonly TRACE=0000FF PANE_BACK=FFFFC0
readonly INK='b>150 && r<160 && g<160' # the table prints in light blue

# ---- checks ------------------------------------------------------------------

check() { # NAME COMMAND...: counts and reports the check; the command succeeds when it holds
    local name=$1
    shift
    if "$@" >"$work/detail" 2>&1; then
        passed=$((passed + 1))
        echo "ok     $name"
    else
        failed=$((failed + 1))
        echo "FAILED $name (screenshot $(basename "$shot"))"
    fi
    cat "$work/detail"
}

# in3x3 HOW SPACE X Y RRGGBB [TOLERANCE]: some, all or none of the 3x3
# neighbourhood of the pixel has the colour. A mismatch prints what was found.
in3x3() {
    local how=$1 n sx sy
    place "$2" "$3" "$4"
    n=$(count $((sx - 1)) $((sy - 1)) 3 3 "$(is "$5" "${6:-0}")")
    case $how in
    some) ((n > 0)) && return 0 ;;
    all) ((n == 9)) && return 0 ;;
    none) ((n == 0)) && return 0 ;;
    esac
    echo "         $2 ($3, $4), screen ($sx, $sy): wanted $how $5; 3x3 found: $(pixels $((sx - 1)) $((sy - 1)) 3 3 | hex)"
    return 1
}
some3x3() { in3x3 some "$@"; }
all3x3() { in3x3 all "$@"; }
none3x3() { in3x3 none "$@"; }

# pixel_is SPACE X Y RRGGBB...: the pixel has one of the colours.
pixel_is() {
    local c sx sy want
    place "$1" "$2" "$3"
    c=$(pixels "$sx" "$sy" 1 1 | hex)
    c=${c% }
    for want in "${@:4}"; do [[ $c == "$want" ]] && return 0; done
    echo "         $1 ($2, $3), screen ($sx, $sy): found $c, wanted ${*:4}"
    return 1
}

# table_ink some|none X Y W H: whether the table's rectangle holds printed text.
table_ink() {
    local n sx sy
    place table "$2" "$3"
    n=$(count "$sx" "$sy" "$4" "$5" "$INK")
    [[ $1 == some ]] && ((n > 0)) && return 0
    [[ $1 == none ]] && ((n == 0)) && return 0
    echo "         table ($2, $3) ${4}x$5: $n ink pixels"
    return 1
}

window_id=""
window_is() { # W H: the window's client area is at (0, 0) and W x H
    local X="?" Y="?" WIDTH="?" HEIGHT="?"
    eval "$(xdotool getwindowgeometry --shell "$window_id" | grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9]+$')"
    [[ $X == 0 && $Y == 0 && $WIDTH == "$1" && $HEIGHT == "$2" ]] && return 0
    echo "         window at ($X, $Y), ${WIDTH}x$HEIGHT; expected (0, 0), $1x$2"
    return 1
}

# ---- the pupil's hand ----------------------------------------------------------

click() { # SPACE X Y
    local sx sy
    place "$@"
    xdotool mousemove "$sx" "$sy"
    sleep 0.15
    xdotool click 1
    sleep 0.3
}

# drag FX FY TX TY: on the blackboard, press, move in several steps, release.
drag() {
    local fx=$1 fy=$2 tx=$3 ty=$4 i sx sy
    place bb "$fx" "$fy"
    xdotool mousemove "$sx" "$sy"
    sleep 0.15
    xdotool mousedown 1
    sleep 0.15
    for i in 1 2 3 4 5 6 7 8; do
        place bb $((fx + (tx - fx) * i / 8)) $((fy + (ty - fy) * i / 8))
        xdotool mousemove "$sx" "$sy"
        sleep 0.05
    done
    sleep 0.15
    xdotool mouseup 1
    sleep 0.4
}

# drop_block N K: block kind N (1..3) from the tray into column K (0..4).
drop_block() { drag $((370 + 50 * ($1 - 1))) 100 $((320 + 40 * $2)) 240; }

# ---- the lesson ----------------------------------------------------------------

export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR

"$prog" >"$out/program.log" 2>&1 &
prog_pid=$!
for _ in $(seq 100); do
    window_id=$(xdotool search --onlyvisible --pid "$prog_pid" 2>/dev/null | head -1)
    [[ -n $window_id ]] && break
    kill -0 "$prog_pid" 2>/dev/null || die "the program ended at start-up: $(tail -5 "$out/program.log")"
    sleep 0.1
done
[[ -n $window_id ]] || die "the program's window did not appear within 10 s"

# -- Start: the window at its start size, the blackboard with the tray.
screenshot start
check "window at (0,0) with the 631x548 start client size" window_is 631 548
window_is 631 548 >/dev/null || die "the window is not where the pixel checks expect it"
check "blackboard shown (green at (100, 200))" pixel_is bb 100 200 $GREEN

# -- Build the figure 1, 1, 3, 0, 2 by dragging blocks from the tray.
drop_block 1 0
drop_block 1 1
drop_block 3 2
drop_block 2 4
screenshot figure
figure_ok() {
    # P is on B, so every block lies right of AB and is grey up to its top
    # edge (260, 260, 180, -, 220); above it and in column 3 the board is green.
    local -a top=(260 260 180 999 220)
    local k y want ok=0
    for k in 0 1 2 3 4; do
        for y in 290 250 190; do
            want=$GREEN
            ((y > top[k])) && want=$GREY
            pixel_is bb $((325 + 40 * k)) "$y" "$want" || ok=1
        done
    done
    return $ok
}
check "dropped blocks painted grey in columns 0,1,2,4, 2,2,6,4 cm high" figure_ok
tray_ok() {
    some3x3 bb 350 105 $YELLOW 40 && some3x3 bb 400 85 $YELLOW 40 && some3x3 bb 450 65 $YELLOW 40
}
check "dragged outlines back in the tray" tray_ok

# -- Graph, table and grid on.
click screen 528 525 # "グラフ"
click screen 528 493 # "表"
click screen 384 37  # "方眼"
screenshot options
check "graph and table make the window 1031x681" window_is 1031 681
check "graph pane on screen (its background at pane (50, 45))" all3x3 pane 50 45 $PANE_BACK
check "table on screen (its black rule at table (300, 56))" some3x3 table 300 56 $BLACK
check "grid drawn (black at blackboard (60, 250))" some3x3 bb 60 250 $BLACK

# -- No pause between steps, then the automatic run to the far end.
click screen 240 522 # into the text of the speed box
xdotool key ctrl+a
sleep 0.1
xdotool type --delay 80 ' 0'
sleep 0.3
click screen 72 512 # "自    動"
sleep 2
screenshot far-end
# The figure with P at x = $1: the occupied slots 0, 1, 2 and 4 (slot k spans
# $1+40k..$1+40k+40) show colour $2 just inside their left edge, slot 3 is empty.
slots_show() {
    local k ok=0
    for k in 0 1 2 4; do pixel_is bb $(($1 + 5 + 40 * k)) 295 "$2" || ok=1; done
    pixel_is bb $(($1 + 125)) 295 $GREEN || ok=1
    return $ok
}
check "far end: every block white, the empty slot 3 green" slots_show 100 $WHITE
# The dot is 8 pixels high around y = 300; the red segment B-P, 5 wide on
# y = 300, does not reach y = 297, so red there is the dot's.
check "far end: the red dot of P (blackboard (101, 297))" some3x3 bb 101 297 $RED 60
check "far end: the red segment B-P (blackboard (200, 300))" some3x3 bb 200 300 $RED 60
check "far end: trace at chi 2, area 4 (pane (95, 450))" some3x3 pane 95 450 $TRACE
check "far end: trace at chi 5, area 14 (pane (185, 375))" some3x3 pane 185 375 $TRACE
check "far end: trace at chi 10, area 28 (pane (335, 270))" some3x3 pane 335 270 $TRACE
check "far end: table column for chi 10" table_ink some 497 25 45 75
check "far end: window still 1031x681" window_is 1031 681

# -- Two steps back: P at 120, chi 9.
click screen 408 512 # "戻す"
click screen 408 512
screenshot back-two
across_ab_ok() {
    # Slot 4 (kind 2) spans 280..320: white left of AB, grey right of it.
    local x ok=0
    for x in 303 310 317; do pixel_is bb $x 290 $GREY || ok=1; done
    for x in 283 290 297; do pixel_is bb $x 290 $WHITE || ok=1; done
    return $ok
}
check "back two: the block across AB white left of it, grey right of it" across_ab_ok
# (335, 270) itself lies on grid lines; (333, 272) is on the wiped piece.
check "back two: trace from chi 9 to 10 wiped (pane (333, 272))" all3x3 pane 333 272 $PANE_BACK
check "back two: trace up to chi 9 kept (pane (298, 307))" some3x3 pane 298 307 $TRACE
check "back two: table column for chi 10 wiped" table_ink none 497 25 45 75
check "back two: table column for chi 9 kept" table_ink some 457 25 35 75

# -- Back to the start, the figure kept.
click screen 476 520 # "最初に"
screenshot start-again
check "start again: blocks grey right of AB, column 3 empty" slots_show 300 $GREY
check "start again: the red dot of P on B (blackboard (301, 297))" some3x3 bb 301 297 $RED 60
check "start again: no red dot at the far end" none3x3 bb 101 297 $RED 100
check "start again: red segment gone (blackboard (200, 300))" none3x3 bb 200 300 $RED 100
check "start again: trace gone (pane (185, 375))" none3x3 pane 185 375 $TRACE
check "start again: table holds only its start column" table_ink none 90 20 510 80

# -- The initial screen: the figure gone, the settings kept.
click screen 256 32 # "初期画面"
screenshot initial
initial_board_ok() {
    local ok=0
    pixel_is bb 325 295 $GREEN || ok=1
    pixel_is bb 365 295 $GREEN || ok=1
    pixel_is bb 405 250 $GREEN || ok=1
    pixel_is bb 405 190 $GREEN || ok=1
    pixel_is bb 485 250 $GREEN || ok=1
    pixel_is bb 320 290 $GREEN $BLACK || ok=1 # on a grid line
    return $ok
}
check "initial screen: no blocks in the rectangle" initial_board_ok
initial_trace_ok() { none3x3 pane 95 450 $TRACE && none3x3 pane 185 375 $TRACE; }
check "initial screen: trace gone" initial_trace_ok
check "initial screen: red dot on B" some3x3 bb 301 297 $RED 60
check "initial screen: window still 1031x681" window_is 1031 681

# -- The end.
place screen 584 32 # "終了"
xdotool mousemove "$sx" "$sy"
sleep 0.15
clicked_at=$(date +%s%N)
xdotool click 1
ended_with_0() {
    local rc
    while kill -0 "$prog_pid" 2>/dev/null && (($(date +%s%N) - clicked_at < 2000000000)); do
        sleep 0.05
    done
    if kill -0 "$prog_pid" 2>/dev/null; then
        echo "         still running 2 s after the click"
        return 1
    fi
    echo "         ended $((($(date +%s%N) - clicked_at) / 1000000)) ms after the click"
    wait "$prog_pid"
    rc=$?
    prog_pid=""
    ((rc == 0)) || { echo "         exit status $rc"; return 1; }
}
check "終了 ends the program with status 0 within 2 s" ended_with_0
screenshot ended

echo "e2e_lesson: $passed passed, $failed failed"
((failed == 0))
