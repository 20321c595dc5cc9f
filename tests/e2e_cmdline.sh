#!/usr/bin/env bash
# The command line and a start without a display, checked from outside: each
# row starts the program with no display at all (DISPLAY, WAYLAND_DISPLAY and
# QT_QPA_PLATFORM unset, unless the row sets one) and checks its exit status,
# what it wrote and that it wrote nothing else.
# A refused argument must end with status 2 before the window system is
# reached: without a display, a program that tried to open its window would
# end with status 1 instead.
#
# Usage: bash tests/e2e_cmdline.sh <program> <output-dir>
# Each row's standard output and error go to <output-dir>/cmdline-<row>.{out,err}.
set -u

(($# == 2)) || { echo "usage: bash $0 <program> <output-dir>" >&2; exit 2; }
prog=$1
out=$2
[[ -x $prog ]] || { echo "e2e_cmdline: FAILED: program '$prog' does not exist or is not executable" >&2; exit 1; }
mkdir -p "$out" && out=$(cd "$out" && pwd) || exit 1
rm -f "$out"/cmdline-*

# The version CMake's project() gives the program.
version=$(sed -n 's/^project(kansu VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")
nodisplay='kansu: cannot open a window: no display found (is DISPLAY set?)'
refused="Try 'kansu --help' for more information."

failures=0
# row NAME STATUS STREAM PATTERN [VAR=VALUE ...] -- ARGS...
# STREAM (out or err) must match the extended regular expression PATTERN
# and the other stream must be empty; "out?" leaves standard error unchecked
# (the toolkit may warn there about the machine it runs on).
row() {
    local name=$1 status=$2 stream=$3 pattern=$4 env=()
    shift 4
    while [[ $1 != -- ]]; do env+=("$1"); shift; done
    shift
    local o="$out/cmdline-$name.out" e="$out/cmdline-$name.err" got
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${env[@]}" \
        timeout 30 "$prog" "$@" >"$o" 2>"$e" </dev/null
    got=$?
    local other=$e; [[ $stream == err ]] && other=$o
    [[ $stream == out\? ]] && stream=out other=/dev/null
    local text; text=$(cat "$out/cmdline-$name.$stream")
    if ((got != status)); then
        echo "e2e_cmdline: FAILED: $name: exit status $got, expected $status: $(head -c 300 "$e")" >&2
    elif ! grep -Eq -- "$pattern" <<<"$text"; then
        echo "e2e_cmdline: FAILED: $name: std$stream does not match '$pattern': $(head -c 300 <<<"$text")" >&2
    elif [[ -s $other ]]; then
        echo "e2e_cmdline: FAILED: $name: unexpected output on the other stream: $(head -c 300 "$other")" >&2
    else
        return 0
    fi
    failures=$((failures + 1))
}

# Answers, without a display.
row help        0 out '^Usage: .*kansu \[options\]' -- --help
row help_zoom   0 out '--zoom <PERCENT> +Shows the window at PERCENT of its size' -- -h
row help_full   0 out '--fullscreen +Starts with the window filling the screen' -- --help
row version     0 out "^kansu ${version//./\\.}\$" -- --version
# Refused arguments: one line naming the fault, a hint to --help, status 2.
row unknown       2 err "^kansu: Unknown option 'no-such-option'\.\$" -- --no-such-option
row unknown_hint  2 err "^${refused//./\\.}\$" -- --no-such-option
row stray         2 err "^kansu: unexpected argument 'lesson'\.\$" -- lesson
row zoom_missing  2 err "^kansu: Missing value after '--zoom'\.\$" -- --zoom
row zoom_word     2 err "^kansu: --zoom takes a whole number of percent from 100 to 300, not 'big'\.\$" -- --zoom big
row zoom_below    2 err "not '99'\.\$" -- --zoom 99
row zoom_above    2 err "not '301'\.\$" -- --zoom=301
row zoom_fraction 2 err "not '150\.5'\.\$" -- --zoom 150.5
row zoom_signed   2 err "not '\+150'\.\$" -- --zoom +150
row zoom_empty    2 err "not ''\.\$" -- --zoom=
row lang_unknown  2 err "^kansu: --lang takes one of ja, furigana, en, pt, zh, fil, vi, es, ko, ne, not 'xx'\.$" -- --lang xx
# Accepted arguments get as far as the window system, which is not there.
row zoom_lowest   1 err "^${nodisplay//[().?]/\\&}\$" -- --zoom 100
row zoom_highest  1 err "^${nodisplay//[().?]/\\&}\$" -- --zoom=300 --fullscreen
# No display: one line, status 1, not the toolkit's abort and its advice.
row no_display    1 err "^${nodisplay//[().?]/\\&}\$" --
row gone_display  1 err "^${nodisplay//[().?]/\\&}\$" DISPLAY=:4321 QT_QPA_PLATFORM=xcb --
# Where a platform is given, the program starts (and ends at its first frame).
row offscreen     0 'out?' '^first-frame-monotonic-ns [0-9]+$' QT_QPA_PLATFORM=offscreen KANSU_FIRST_FRAME=1 --
# The toolkit's standard options are the toolkit's: taken as it takes them.
row platform      0 'out?' '^first-frame-monotonic-ns [0-9]+$' KANSU_FIRST_FRAME=1 -- -platform offscreen
row style_reverse 0 'out?' '^first-frame-monotonic-ns [0-9]+$' KANSU_FIRST_FRAME=1 -- --style=fusion -reverse -platform offscreen
row display       1 err "^${nodisplay//[().?]/\\&}\$" -- -display :4321 --zoom 150
row platform_bare 2 err "^kansu: Missing value after '-platform'\.\$" -- -platform

# Every refusal and failure is one line (a refusal adds the hint to --help).
for e in "$out"/cmdline-*.err; do
    [[ $e == */cmdline-offscreen.err || $e == */cmdline-platform.err || $e == */cmdline-style_reverse.err ]] && continue
    lines=$(wc -l <"$e")
    if ((lines > 2)) || { ((lines == 2)) && ! grep -q "^$refused\$" "$e"; }; then
        echo "e2e_cmdline: FAILED: $(basename "$e" .err): more than one line on stderr: $(head -c 300 "$e")" >&2
        failures=$((failures + 1))
    fi
done

((failures == 0)) || { echo "e2e_cmdline: $failures failed" >&2; exit 1; }
echo "e2e_cmdline: passed (help, version, the toolkit's standard options, refused arguments with status 2, no display with status 1)"
