#!/usr/bin/env bash
# Builds a debug build in build-memcheck and runs a scripted session of the
# program under valgrind memcheck: the program starting and painting its
# window, then the QtTest executables that drive it (dragging blocks into a
# figure, stepping P forward and back with the grid, the table, the graph and
# the red segment shown, "最初に" and "初期画面", the automatic run with all
# four ticked during it and "ストップ", the drawing primitives, the helpers),
# all on Qt's offscreen platform.
# Any memcheck error (invalid access, use of an uninitialised value, a
# definite leak), crash or hang makes the script exit non-zero.
# Usage: tools/memcheck.sh [executable ...]   (default: all of the session)
# Installs nothing: tools/setup.sh --tests installs valgrind.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if ! command -v valgrind >/dev/null 2>&1; then
  echo "memcheck: valgrind is not installed; run tools/setup.sh --tests first" >&2
  exit 2
fi

# kansu: the program itself, ended after its first painted frame.
session=(kansu tst_helpers tst_surface tst_startup tst_figure tst_motion tst_chart tst_autorun tst_random tst_zoom)
(($#)) && session=("$@")

build=build-memcheck
logs=$build/memcheck
targets=()
for t in "${session[@]}"; do
  [[ $t == kansu ]] && targets+=(kansu-app) || targets+=("$t")
done
echo "memcheck: building ${targets[*]} in $build (Debug)"
if ! cmake -S . -B $build -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Debug -DKANSU_BENCH=OFF >/dev/null ||
   ! cmake --build $build -j"$(nproc)" --target "${targets[@]}"; then
  echo "memcheck: build failed" >&2
  exit 2
fi
rm -rf "$logs" && mkdir -p "$logs"

export QT_QPA_PLATFORM=offscreen
# The random-use session, shortened: every kind of action, a few thousand of them.
export KANSU_ACTIONS=${KANSU_ACTIONS:-3000}
valgrind=(valgrind --tool=memcheck --error-exitcode=1 --leak-check=full
          --errors-for-leak-kinds=definite --show-leak-kinds=definite --track-origins=yes
          --suppressions="$root/tools/memcheck.supp" --gen-suppressions=all)

passed=0 failed=0
warned=()
summary=()
start=$SECONDS
for t in "${session[@]}"; do
  if [[ $t == kansu ]]; then exe=$build/kansu; else exe=$build/tests/$t; fi
  log=$logs/$t.log out=$logs/$t.out
  echo "memcheck: running $t ..."
  t0=$SECONDS
  if [[ $t == kansu ]]; then
    KANSU_FIRST_FRAME=1 timeout 900 "${valgrind[@]}" --log-file="$log" "$exe" >"$out" 2>&1
  else
    timeout 900 "${valgrind[@]}" --log-file="$log" "$exe" >"$out" 2>&1
  fi
  rc=$?
  secs=$((SECONDS - t0))

  # memcheck's own count, the definite leaks, and the tests' result.
  errors=$(sed -n 's/.*ERROR SUMMARY: \([0-9,]*\) errors.*/\1/p' "$log" | tail -n1 | tr -d ,)
  lost=$(sed -n 's/.*definitely lost: \([0-9,]*\) bytes.*/\1/p' "$log" | tail -n1 | tr -d ,)
  [[ -z $lost ]] && grep -q 'All heap blocks were freed' "$log" && lost=0
  # A run fails on a memcheck error, a crash, a hang, or a program that did
  # not get through. Failed QtTest assertions alone are shown, not counted:
  # the automatic-run tests watch every step with a 5 ms timer inside 50 ms
  # pauses, and valgrind's slowdown can make a look miss one; tools/test.sh
  # is where the assertions are judged.
  verdict=ok
  finished=1
  if [[ $t == kansu ]]; then
    grep -q '^first-frame-monotonic-ns' "$out" && tests="window painted, ended" || tests="no first frame"
    [[ $tests == window* ]] && ((rc == 0)) || finished=0
  else
    tests=$(grep -o 'Totals: [0-9]* passed, [0-9]* failed' "$out" | tail -n1)
    [[ -n $tests ]] && ((rc < 128)) || finished=0
    [[ -n $tests ]] || tests="no QtTest totals"
  fi
  if ((rc == 124)); then
    verdict="TIMED OUT"
  elif [[ -z $errors ]]; then
    verdict="NO MEMCHECK SUMMARY (exit $rc)"
  elif ((errors > 0)); then
    verdict="$errors MEMCHECK ERRORS"
  elif ((!finished)); then
    verdict="DID NOT FINISH (exit $rc)"
  elif [[ $t != kansu && ! $tests =~ \ 0\ failed$ ]]; then
    verdict="ok (test assertions failed)"
    warned+=("$t")
  fi
  if [[ $verdict == ok* ]]; then
    ((passed++))
  else
    ((failed++))
  fi
  if [[ $verdict != ok ]]; then
    echo "---- $t: $verdict (memcheck log: $log, program output: $out)"
    if [[ $verdict == ok* || $verdict == DID* ]]; then
      grep -E '^(FAIL|QFATAL|   |Loc)' "$out" | head -n 40
    fi
    if [[ $verdict != ok* ]]; then
      grep -v -E '^==[0-9]+== (Memcheck|Copyright|Using Valgrind|Command:|Parent PID|$)' "$log" | head -n 150
    fi
    echo "----"
  fi
  summary+=("$(printf '%-12s %5ss  errors %-4s definitely lost %-8s %-36s %s' \
    "$t" "$secs" "${errors:-?}" "${lost:-?}" "$tests" "$verdict")")
done

echo
echo "memcheck summary (logs in $logs, $((SECONDS - start)) s under valgrind):"
printf '  %s\n' "${summary[@]}"
((${#warned[@]})) &&
  echo "memcheck: test assertions failed in ${warned[*]} (no memcheck error there; see above)"
echo "memcheck: $passed passed, $failed failed"
((failed == 0))
