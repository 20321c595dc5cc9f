# Sourced by the end-to-end tests: starts a private Xvfb, and the program on it.
#
# start_xvfb FIRST LAST LOG [SCREEN]: starts Xvfb (a screen of SCREEN, by
# default 1280x1024x24) on the first free display number in
# FIRST..LAST (one with a lock file or a socket is taken; a server that does
# not come up, because another one won the race, means the next), sets
# DISPLAY and xvfb_pid, and returns 0; returns 1 when none could be started.
start_xvfb() {
    local first=$1 last=$2 log=$3 screen=${4:-1280x1024x24} n
    for n in $(seq "$first" "$last"); do
        [[ $n -eq 99 || -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 "$screen" -nolisten tcp -noreset >"$log" 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do
            kill -0 "$xvfb_pid" 2>/dev/null || break
            if DISPLAY=":$n" xdotool getmouselocation >/dev/null 2>&1; then
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
        xvfb_pid=""
    done
    return 1
}

# start_program LOG ARGS...: starts $prog with ARGS, its output to LOG, and
# waits for its window; sets prog_pid and window. Returns 1 when no window
# came within 10 s.
start_program() {
    local log=$1
    shift
    "$prog" "$@" >"$log" 2>&1 &
    prog_pid=$!
    window=""
    for _ in $(seq 100); do
        window=$(xdotool search --name '３.１次関数' 2>/dev/null | head -n1) && [[ -n $window ]] && return 0
        sleep 0.1
    done
    return 1
}
