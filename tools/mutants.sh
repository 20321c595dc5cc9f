#!/usr/bin/env bash
# Planted faults: applies the small, plausible faults listed in
# tests/mutants.txt one at a time to a copy of this repository's tracked files
# (as they are in the working tree) in a temporary folder, rebuilds the copy,
# runs the unit tests and reports for each fault whether they caught it, then
# the share caught. A fault in the page's own code (platform/web/: its
# JavaScript, sw.js, kansu.html, its C++) is built into the page instead and
# run through the browser test (tests/web_lesson.py), which stops at its
# first failed check. The working tree itself is never changed, and the
# temporary folder goes when the script ends, also when it is interrupted.
#
# Usage: tools/mutants.sh [ID ...]     (default: every fault in the list)
#        tools/mutants.sh --list       (the faults' ids and what they break)
# Environment: KANSU_ACTIONS (random-use actions per run, default 20000),
# KANSU_SEED (its sequence, default 1), KANSU_TEST_TIMEOUT (seconds a unit
# test may take before it counts as hanging, and so as catching, default 120;
# the browser test five times as long).
#
# A fault is "caught" when a unit test fails or hangs, "missed" when they all
# pass, "stale" when its text no longer occurs exactly once in its file, and
# "unbuildable" when the copy no longer compiles with it. Stale and
# unbuildable faults are not counted; they make the script fail, as does a
# share caught under 90 %.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
list=$root/tests/mutants.txt

# The faults of the list: ids, files, texts, replacements, descriptions.
ids=() files=() texts=() replacements=() descriptions=()
entry='^([A-Za-z0-9_.-]+)[[:space:]]+([^[:space:]]+)[[:space:]]+`([^`]*)`[[:space:]]+`([^`]*)`[[:space:]]+(.+)$'
lineno=0
while IFS= read -r line || [[ -n $line ]]; do
  lineno=$((lineno + 1))
  [[ $line =~ ^[[:space:]]*(#|$) ]] && continue
  if [[ ! $line =~ $entry ]]; then
    echo "mutants: $list:$lineno is not 'ID FILE \`TEXT\` \`REPLACEMENT\` DESCRIPTION'" >&2
    exit 2
  fi
  ids+=("${BASH_REMATCH[1]}") files+=("${BASH_REMATCH[2]}") texts+=("${BASH_REMATCH[3]}")
  replacements+=("${BASH_REMATCH[4]}") descriptions+=("${BASH_REMATCH[5]}")
done <"$list"

if [[ ${1:-} == --list ]]; then
  for i in "${!ids[@]}"; do printf '%-26s %-26s %s\n' "${ids[i]}" "${files[i]}" "${descriptions[i]}"; done
  exit 0
fi
if [[ ${1:-} == -* ]]; then
  sed -n '2,/^set /{/^set /d;s/^# \{0,1\}//;p}' "$0"
  exit 2
fi

# The faults to run: all, or those named.
chosen=()
if (($#)); then
  for want in "$@"; do
    found=""
    for i in "${!ids[@]}"; do [[ ${ids[i]} == "$want" ]] && found=$i; done
    [[ -n $found ]] || { echo "mutants: no fault '$want' in $list" >&2; exit 2; }
    chosen+=("$found")
  done
else
  chosen=("${!ids[@]}")
fi

# A fault of the page's own code is caught by the browser test.
is_web() { [[ ${files[$1]} == platform/web/* ]]; }
web=false
for i in "${chosen[@]}"; do is_web "$i" && web=true; done

command -v git >/dev/null && git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1 ||
  { echo "mutants: needs git and a checkout of the repository (it copies the tracked files)" >&2; exit 2; }
tools/setup.sh
$web && { tools/setup.sh --web && tools/setup.sh --tests; } >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/kansu-mutants.XXXXXX") || exit 2
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
trap 'echo "mutants: interrupted" >&2; exit 130' INT TERM HUP
src=$work/src build=$work/build log=$work/log build_web=$work/build-web
mkdir -p "$src"
git -C "$root" ls-files -z | tar -C "$root" --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -C "$src" -xf - ||
  { echo "mutants: copying the tracked files failed" >&2; exit 2; }

# replace FILE TEXT REPLACEMENT [check]: writes the replacement over TEXT,
# which must occur exactly once (\n in either stands for a line break), or
# with "check" only looks. Prints what is wrong and fails when it does not.
replace() {
  TEXT=$2 REPLACEMENT=$3 perl -e '
    my ($file, $check) = @ARGV;
    my ($from, $to) = map { s/\\n/\n/gr } @ENV{qw(TEXT REPLACEMENT)};
    open my $in, "<", $file or do { print "no such file"; exit 1 };
    my $code = do { local $/; <$in> };
    close $in;
    my ($count, $at, $p) = (0, -1, -1);
    while (length $from && ($p = index($code, $from, $p + 1)) >= 0) { $count++; $at = $p; }
    if ($count != 1) { print "found $count times"; exit 1 }
    exit 0 if $check;
    substr($code, $at, length $from) = $to;
    open my $out, ">", $file or exit 1;
    print $out $code;
    close $out or exit 1;' "$1" "${4:-}"
}

# Faults whose text no longer occurs exactly once are reported now and left out.
stale_ids=() runnable=()
for i in "${chosen[@]}"; do
  if why=$(replace "$src/${files[i]}" "${texts[i]}" "${replacements[i]}" check); then
    runnable+=("$i")
  else
    echo "mutants: stale: ${ids[i]} (its text in ${files[i]}: ${why:-no such file})"
    stale_ids+=("${ids[i]}")
  fi
done
((${#runnable[@]})) || { echo "mutants: nothing left to plant; update tests/mutants.txt" >&2; exit 1; }

export QT_QPA_PLATFORM=offscreen
export KANSU_ACTIONS=${KANSU_ACTIONS:-20000} KANSU_SEED=${KANSU_SEED:-1}
timeout=${KANSU_TEST_TIMEOUT:-120}
# Builds the copy; runs its unit tests, stopping at the first failure. Sets
# failing to the tests that failed or hung.
rebuild() { cmake --build "$build" -j2 >"$log" 2>&1; }
# The page, and the browser test on it (the desktop program for its
# comparison); stops at the first failed check, which is named.
export NODE_PATH=/usr/share/nodejs:/usr/lib/nodejs${NODE_PATH:+:$NODE_PATH}
rebuild_web() { cmake --build "$build_web" -j2 >"$log" 2>&1; }
browser_test() {
  # The desktop program shows its window on the test's own X display.
  env -u QT_QPA_PLATFORM KANSU_FIRST_FAILURE=1 timeout $((5 * timeout)) /usr/bin/python3 "$src/tests/web_lesson.py" \
    "$build/kansu" "$build_web/page/kansu.html" "$work/web-output" >"$log" 2>&1
  local rc=$?
  failing=$(sed -n 's/^FAILED //p' "$log" | head -n 1 | cut -c1-70)
  # No check failed, the test itself did (an error of its own): its last line.
  [[ -n $failing ]] || failing="an error: $(grep -v '^[[:space:]]*$' "$log" | tail -n 1 | cut -c1-60)"
  failing="\"$failing\""
  ((rc == 124)) && failing="(hung)"
  return $rc
}
unit_tests() {
  (cd "$build" && ctest -E '^e2e_' -j2 --stop-on-failure >"$log" 2>&1)
  local rc=$?
  failing=$(sed -n 's/^[[:space:]]*[0-9]* - \([A-Za-z0-9_]*\) (.*/\1/p' "$log" | sort -u | tr '\n' ' ')
  return $rc
}

echo "mutants: building a copy of the tree in $work (Release, no benchmarks, no sanitizers)"
start=$SECONDS
if ! cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKANSU_BENCH=OFF -DKANSU_SANITIZE=OFF \
       -DKANSU_WERROR=OFF -DKANSU_TEST_TIMEOUT="$timeout" >"$log" 2>&1 || ! rebuild; then
  tail -n 30 "$log" >&2
  echo "mutants: the unchanged copy does not build" >&2
  exit 2
fi
if ! unit_tests; then
  tail -n 30 "$log" >&2
  echo "mutants: the unchanged copy fails its unit tests ($failing); fix that first" >&2
  exit 2
fi
if $web; then
  if ! emcmake cmake -S "$src" -B "$build_web" -DCMAKE_BUILD_TYPE=Release >"$log" 2>&1 || ! rebuild_web; then
    tail -n 30 "$log" >&2
    echo "mutants: the unchanged page does not build" >&2
    exit 2
  fi
  if ! browser_test; then
    tail -n 30 "$log" >&2
    echo "mutants: the unchanged page fails the browser test ($failing); fix that first" >&2
    exit 2
  fi
fi
echo "mutants: built and tested unchanged in $((SECONDS - start)) s; planting ${#runnable[@]} faults"

caught=0 missed=0 unbuildable=0 stale=${#stale_ids[@]}
missed_ids=() unbuildable_ids=()
n=0
for i in "${runnable[@]}"; do
  n=$((n + 1))
  id=${ids[i]} file=${files[i]}
  t0=$SECONDS
  head=$(printf '[%2d/%d] %-26s' "$n" "${#runnable[@]}" "$id")
  cp "$src/$file" "$work/original"
  replace "$src/$file" "${texts[i]}" "${replacements[i]}" >/dev/null || { echo "mutants: cannot write $file" >&2; exit 2; }
  if is_web "$i"; then build_it=rebuild_web test_it=browser_test; else build_it=rebuild test_it=unit_tests; fi
  if ! $build_it; then
    verdict="UNBUILDABLE" unbuildable=$((unbuildable + 1)) unbuildable_ids+=("$id")
  elif $test_it; then
    verdict="MISSED  " missed=$((missed + 1)) missed_ids+=("$id")
  else
    verdict="caught   by $failing" caught=$((caught + 1))
  fi
  # A plain copy, not one that keeps the time stamp: the restored file is
  # newer than its object file and is compiled again before the next fault.
  cp "$work/original" "$src/$file"
  echo "mutants: $head $verdict ($((SECONDS - t0)) s)"
done

counted=$((caught + missed))
share=0
((counted)) && share=$((1000 * caught / counted))
echo
printf 'mutants: %d of %d planted faults caught (%d.%d %%) in %d min' \
  "$caught" "$counted" $((share / 10)) $((share % 10)) $(((SECONDS - start) / 60))
echo "; random use with $KANSU_ACTIONS actions, KANSU_SEED=$KANSU_SEED"
((missed)) && echo "mutants: missed: ${missed_ids[*]}"
((stale)) && echo "mutants: stale (update tests/mutants.txt): ${stale_ids[*]}"
((unbuildable)) && echo "mutants: unbuildable (fix tests/mutants.txt): ${unbuildable_ids[*]}"
((stale == 0 && unbuildable == 0 && counted > 0 && share >= 900))
