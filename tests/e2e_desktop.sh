#!/usr/bin/env bash
# The real program on a desktop: under each window manager that runs here
# (openbox, and xfwm4 of the Xfce desktop where it is installed) on a
# 1920 x 1080 screen (Xvfb), and on the bare screen without one. Checked from
# outside: --fullscreen and the first F11 fill the screen with the layout as
# large as fits, centred, and nothing beside it; F11 and Escape bring back the
# window; its inside is the layout's size times the zoom after any zoom
# change; Ctrl++ stops at the largest step at which the window with its frame
# fits the screen, and --zoom 300 is brought down to what fits; a window
# destroyed by another client (xdotool windowclose) ends the program with
# status 0.
#
# Usage: bash tests/e2e_desktop.sh <program> <output-dir>
set -u

(($# == 2)) || { echo "usage: bash $0 <program> <output-dir>" >&2; exit 2; }
prog=$1
out=$2
mkdir -p "$out" && out=$(cd "$out" && pwd) || exit 1
for tool in Xvfb xdotool xprop xwd convert openbox; do
    command -v "$tool" >/dev/null || { echo "e2e_desktop: '$tool' is missing (tools/setup.sh --tests)" >&2; exit 1; }
done
xvfb_pid="" wm_pid="" prog_pid=""
stop_wm() { [[ -n $wm_pid ]] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null; wm_pid=""; }
cleanup() {
    [[ -n $prog_pid ]] && kill "$prog_pid" 2>/dev/null && wait "$prog_pid" 2>/dev/null
    stop_wm
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
start_xvfb 201 240 "$out/desktop-xvfb.log" 1920x1080x24 || { echo "e2e_desktop: could not start Xvfb" >&2; exit 1; }

failed=0
fail() { echo "e2e_desktop: FAILED: $wm: $*" >&2; failed=$((failed + 1)); }

start_wm() { # NAME: starts it and waits until it has announced itself on the root window
    # The name a manager that has ended left on the root window does not count.
    xprop -root -remove _NET_SUPPORTING_WM_CHECK 2>/dev/null
    case $1 in
        openbox) openbox --sm-disable >"$out/desktop-$1.log" 2>&1 & ;;
        xfwm4) dbus-run-session -- xfwm4 --compositor=off --sm-client-disable >"$out/desktop-$1.log" 2>&1 & ;;
    esac
    wm_pid=$!
    local id
    for _ in $(seq 100); do
        id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # \(0x[0-9a-fA-F]*\).*/\1/p')
        if [[ -n $id ]] && xprop -id "$id" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            sleep 0.5
            return 0
        fi
        sleep 0.1
    done
    fail "the window manager did not start: $(tail -3 "$out/desktop-$1.log")"
    return 1
}
start() { # ARGS...: starts the program and waits for its window
    start_program "$out/desktop-prog.log" "$@" || { fail "no window with $*"; return 1; }
    sleep 1.5
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
}
key() { xdotool key --window "$window" "$@"; sleep 0.8; }
# The inside of the window (X, Y, WIDTH, HEIGHT) and the frame the window
# manager draws around it (FL, FR, FT, FB).
measure() {
    X="?" Y="?" WIDTH="?" HEIGHT="?"
    eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9-]+$')"
    read -r FL FR FT FB < <(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null |
        sed -n 's/.*= *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\)$/\1 \2 \3 \4/p')
    FL=${FL:-0} FR=${FR:-0} FT=${FT:-0} FB=${FB:-0}
}
size_is() { # W H WHAT
    measure
    [[ $WIDTH == "$1" && $HEIGHT == "$2" ]] || fail "$3: the inside of the window is ${WIDTH}x$HEIGHT, expected $1x$2"
}
full_screen() { # WHAT: covers the screen, in the window manager's full-screen state where one runs
    size_is 1920 1080 "$1"
    [[ $X == 0 && $Y == 0 ]] || fail "$1: the window is at ($X, $Y), not (0, 0)"
    if [[ $wm != none ]] && ! xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN; then
        fail "$1: not in the window manager's full-screen state: $(xprop -id "$window" _NET_WM_STATE)"
    fi
}
fits() { # WHAT [LARGEST]: the window with its frame fits the screen; with LARGEST, it is as high as fits
    measure
    local h=$((HEIGHT + FT + FB)) w=$((WIDTH + FL + FR)) least=0
    [[ ${2:-} == largest ]] && least=1078
    ((w <= 1920 && h <= 1080 && h >= least)) || fail "$1: the window with its frame is ${w}x$h on a 1920x1080 screen"
}
colour_at() { # X Y RRGGBB WHAT, in the screenshot $shot
    local c
    c=$(convert "$shot" -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n1)
    [[ $c == "#$3" ]] || fail "$4: screen ($1, $2) is $c, expected #$3"
}
ends_with_0() { # WHAT: the program ends, with status 0, once its window is destroyed from outside
    xdotool windowclose "$window"
    for _ in $(seq 50); do kill -0 "$prog_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$prog_pid" 2>/dev/null; then
        fail "$1: still running 5 s after its window was destroyed"
        kill "$prog_pid"
    fi
    wait "$prog_pid"
    local status=$?
    prog_pid=""
    ((status == 0)) || fail "$1: ended with status $status"
}

wms=(none openbox)
command -v xfwm4 >/dev/null && command -v dbus-run-session >/dev/null && wms+=(xfwm4)
for wm in "${wms[@]}"; do
    [[ $wm == none ]] || start_wm "$wm" || continue
    if start --fullscreen; then
        full_screen "--fullscreen"
        shot="$out/desktop-$wm-fullscreen.png"
        xwd -root -silent | convert xwd:- "$shot"
        # The layout (631 x 548 at 1080 / 548) centred: the board at layout
        # (200, 350), and right of the layout the window's colour, not the
        # hidden graph pane.
        colour_at $(((1920 - 1244) / 2 + 394)) 690 008000 "--fullscreen: the board"
        colour_at 1700 300 C0FFC0 "--fullscreen: beside the layout"
        key F11; size_is 631 548 "F11 after --fullscreen"
        key F11; full_screen "the first F11"
        key Escape; size_is 631 548 "Escape"
        key ctrl+plus; size_is 789 685 "Ctrl++"
        key ctrl+0; size_is 631 548 "Ctrl++ then Ctrl+0"
        for _ in 1 2 3 4 5 6; do key ctrl+plus; done
        size_is 1104 959 "Ctrl++ to the top (175 %, the largest step that fits)"
        fits "Ctrl++ to the top"
        key ctrl+0
        ends_with_0 "windowclose"
    fi
    if start --zoom 300; then
        fits "--zoom 300" largest
        ends_with_0 "windowclose at 300 %"
    fi
    stop_wm
    sleep 0.5
done

((failed == 0)) || { echo "e2e_desktop: $failed failed" >&2; exit 1; }
echo "e2e_desktop: passed (${wms[*]}: full screen and back, the window's size at each zoom, the zoom within the screen, a window destroyed from outside)"
