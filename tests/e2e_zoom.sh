#!/usr/bin/env bash
# The real program at a zoom and in full screen on a projector-sized screen
# (Xvfb, 1920 x 1080, no window manager): started with --zoom and
# --fullscreen, a lesson given with the mouse (figure 1, 1, 3, 0, 2, the grid,
# the graph and the table ticked, seven steps of P), then checked in a
# screenshot: the window's size, the white and grey sides of AB, the trace
# and the table, all where the zoom puts them.
#
# Usage: bash tests/e2e_zoom.sh <program> <output-dir>
set -u

(($# == 2)) || { echo "usage: bash $0 <program> <output-dir>" >&2; exit 2; }
prog=$1
out=$2
mkdir -p "$out" && out=$(cd "$out" && pwd) || exit 1
for tool in Xvfb xdotool xwd convert; do
    command -v "$tool" >/dev/null || { echo "e2e_zoom: '$tool' is missing (tools/setup.sh --tests)" >&2; exit 1; }
done
work=$(mktemp -d)
xvfb_pid="" prog_pid=""
cleanup() {
    [[ -n $prog_pid ]] && kill "$prog_pid" 2>/dev/null && wait "$prog_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
start_xvfb_sized() { # like start_xvfb, on a screen of the given size
    local n
    for n in $(seq 141 200); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 "$1" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do
            kill -0 "$xvfb_pid" 2>/dev/null || break
            DISPLAY=":$n" xdotool getmouselocation >/dev/null 2>&1 && { export DISPLAY=":$n"; return 0; }
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=""
    done
    return 1
}
start_xvfb_sized 1920x1080x24 || { echo "e2e_zoom: could not start Xvfb" >&2; exit 1; }

failed=0
fail() { echo "e2e_zoom: FAILED: $*" >&2; failed=$((failed + 1)); }

# Where the layout is on the screen: zoom z and the offset of its top left
# corner, for the client size CW x CH the program asks for.
z=1 ox=0 oy=0 full=0
layout() { # CW CH
    if ((full)); then
        read -r z ox oy < <(awk -v w="$1" -v h="$2" 'BEGIN { z = 1920 / w; if (1080 / h < z) z = 1080 / h; if (z > 3) z = 3;
            printf "%.6f %d %d\n", z, int((1920 - int(w * z + 0.5)) / 2), int((1080 - int(h * z + 0.5)) / 2) }')
    fi
}
# at SPACE X Y: sets sx, sy to the screen pixel in the middle of layout pixel
# (X, Y) of the window (win) or the blackboard's drawing area (bb).
at() {
    local x=$2 y=$3
    [[ $1 == bb ]] && { x=$((x + 18)); y=$((y + 66)); }
    read -r sx sy < <(awk -v z="$z" -v x="$x" -v y="$y" -v ox="$ox" -v oy="$oy" \
        'BEGIN { printf "%d %d\n", ox + (x + 0.5) * z, oy + (y + 0.5) * z }')
}
click() { at win "$1" "$2"; xdotool mousemove "$sx" "$sy" click 1; sleep 0.3; }
drag() { # FX FY TX TY on the blackboard
    at bb "$1" "$2"; xdotool mousemove "$sx" "$sy" mousedown 1; sleep 0.1
    at bb $((($1 + $3) / 2)) $((($2 + $4) / 2)); xdotool mousemove "$sx" "$sy"; sleep 0.1
    at bb "$3" "$4"; xdotool mousemove "$sx" "$sy"; sleep 0.1; xdotool mouseup 1; sleep 0.3
}

start() { # ARGS...: starts the program and waits for its window
    start_program "$work/prog.log" "$@" || { fail "no window with $*"; return 1; }
    sleep 1
}
stop() { kill "$prog_pid" 2>/dev/null; wait "$prog_pid" 2>/dev/null; prog_pid=""; }
size_is() { # W H
    local WIDTH="?" HEIGHT="?"
    eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
    [[ $WIDTH == "$1" && $HEIGHT == "$2" ]] || fail "$name: window ${WIDTH}x$HEIGHT, expected $1x$2"
}
shot() { xwd -root -silent | convert xwd:- "$out/zoom-$1.png"; echo "e2e_zoom: screenshot $out/zoom-$1.png"; }
colour_is() { # SPACE X Y RRGGBB
    at "$1" "$2" "$3"
    local c
    c=$(convert "$out/zoom-$name.png" -crop "1x1+$sx+$sy" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n1)
    [[ $c == "#$4" ]] || fail "$name: $1 ($2, $3) at screen ($sx, $sy) is $c, expected #$4"
}

# The lesson, given with the mouse; the layout is refitted after every switch
# that changes the size the program asks for.
lesson() {
    drag 370 100 320 240; drag 370 100 360 240; drag 470 100 400 240; drag 420 100 480 240
    click 392 37                       # 方眼
    click 540 525; layout 1031 548     # グラフ
    click 540 493; layout 1031 681     # 表
    for _ in 1 2 3 4 5 6 7; do click 336 512; done  # 出す
    sleep 0.5
}
check_lesson() {
    colour_is bb 285 290 FFFFFF   # the block cut by AB: white left of it
    colour_is bb 305 290 C0C0C0   # and grey right of it
    colour_is bb 110 230 008000   # the board between grid lines
    colour_is win 1000 600 C0FFC0  # the window beyond the panes
}

# 200 % would be 1262 x 1096, higher than the screen: brought down to the
# largest zoom that fits (1080 / 548), the window as high as the screen.
name=200; z=2
start --zoom 200 && { size_is 1244 1080; stop; }

name=150; z=1.5
start --zoom 150 && { size_is 947 822; lesson; size_is 1547 1022; shot "$name"; check_lesson; stop; }

name=fullscreen; full=1; layout 631 548
start --fullscreen && { size_is 1920 1080; lesson; size_is 1920 1080; shot "$name"; check_lesson; stop; }

((failed == 0)) || { echo "e2e_zoom: $failed failed" >&2; exit 1; }
echo "e2e_zoom: passed (--zoom 200 within the screen, a lesson at 150 % and in full screen on 1920 x 1080)"
