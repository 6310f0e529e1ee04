#!/usr/bin/env bash
# The monkey test: the real game built with AddressSanitizer and UndefinedBehaviorSanitizer, under
# Xvfb, receives random input inside its window: pointer moves, drags, presses and releases of the
# three buttons, and key presses among letters, digits, the arrows, Escape, Return and Space.
# The events (MONKEY_EVENTS, 10000 by default) are split between three runs of the game that share
# one save folder: the first starts on the first 5 x 5 level, the second on the first level of the
# largest boards, the third at the title with no test level, so that it walks the profiles, lists,
# shop, options, help and trophy screens. Each run must stay alive until SIGTERM, end with status 0
# and print no sanitizer report (leaks included); the third may also end through the game's own
# Exit (status 0, no report), and is then started again over the same folder for the events left.
# After each run e2e_monkey_saves reads "players.xml" and "game.xml" with the game's loaders, and a
# last start over the same folder must come up.
#
# The sanitizer game runs from its own tree's run folder (the build of that tree makes the content
# there as well; the test fails when the game is there but its content is not). Its place comes from
# QUORVEL_MONKEY_RUN_DIR (set by CMake to build/asan/run beside the tree running the tests). When
# that tree was never built the test is skipped (status 77), except in CI (CI=true), where it fails.
#
# The events are drawn from a seed, printed at the start; MONKEY_SEED=<seed> replays the same events
# (each run's xdotool script is kept in WORK_DIR). MONKEY_PAUSE is the pause after each event (s).
# Usage: monkey_e2e.sh RUN_DIR WORK_DIR
set -euo pipefail
run_dir=$(cd "$1" && pwd)
mkdir -p "$2"
work_dir=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_lib.sh"

asan_dir=${QUORVEL_MONKEY_RUN_DIR:-$here/../../build/asan/run}
if [[ ! -x "$asan_dir/quorvel" ]]; then
  if [[ "${CI:-}" == true ]]; then
    echo "FAIL: no sanitizer build of the game at $asan_dir (scripts/test.sh builds build/asan)" >&2
    exit 1
  fi
  echo "SKIP: no sanitizer build of the game at $asan_dir; build build/asan with -DQUORVEL_SANITIZE=ON" >&2
  exit 77
fi
asan_dir=$(cd "$asan_dir" && pwd)
[[ -d "$asan_dir/Resources" ]] || { echo "FAIL: $asan_dir has the game but no content (Resources)" >&2; exit 1; }
checker="$run_dir/e2e_monkey_saves"
[[ -x "$checker" ]] || { echo "FAIL: $checker is missing" >&2; exit 1; }
command -v xdotool > /dev/null || { echo "FAIL: xdotool is missing" >&2; exit 1; }

events=${MONKEY_EVENTS:-10000}
pause=${MONKEY_PAUSE:-0.01}
seed=${MONKEY_SEED:-$(($(date +%s%N) % 32768))}
echo "monkey e2e: seed $seed, $events events (MONKEY_SEED=$seed replays them)"

export QUORVEL_NO_MESSAGEBOX=1
export ALSOFT_DRIVERS=null
export QUORVEL_TRACE=1
export XDG_DATA_HOME="$work_dir/xdg"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/monkey.lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Mesa unloads its software rasteriser before the leak check, which would leave what it holds
# without a library name to suppress by; preloaded, it stays mapped (AddressSanitizer's runtime must
# come first in the list).
preload=$(ldd "$asan_dir/quorvel" | awk '/libasan\.so/ { print $3; exit }')
for driver in /usr/lib/*/dri/swrast_dri.so; do
  [[ -f "$driver" ]] && preload="$preload $driver" && break
done
saves="$XDG_DATA_HOME/quorvel"
rm -rf "$XDG_DATA_HOME" "$work_dir"/run*
mkdir -p "$XDG_DATA_HOME"
trap e2e_cleanup EXIT
start_time=$SECONDS

# The sanitizers' reports as they begin, and the game's own notes of a failed start.
report_pattern='ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:|SUMMARY: |quorvel: the (start|test level) did not'

# start_game RUN LEVEL: the sanitizer game with the shared save folder (LEVEL may be empty), its
# window found (window) and its first running frame seen.
start_game() {
  run=$1
  log="$work_dir/$run.log"
  (cd "$asan_dir" && QUORVEL_TEST_LEVEL="$2" LD_PRELOAD="$preload" exec ./quorvel > "$log" 2>&1) &
  scene_pid=$!
  window=$(wait_for_window 90 '^Quorvel' || true)
  if [[ -z "$window" ]]; then
    fail "[$run] no game window"
    dump_scene "$log"
    return 1
  fi
  if ! wait_for_line 120 "$log" '^quorvel-trace: running' > /dev/null; then
    fail "[$run] the game did not finish starting"
    dump_scene "$log"
    return 1
  fi
  if [[ -n "$2" ]] && ! wait_for_line 30 "$log" "^quorvel-trace: level started $2\$" > /dev/null; then
    fail "[$run] level $2 did not start"
    dump_scene "$log"
    return 1
  fi
}

# stop_game: SIGTERM; the game must have lived until then, end with status 0 and report nothing.
stop_game() {
  local status=0
  if ! scene_alive; then
    fail "[$run] the game ended before SIGTERM"
  else
    kill -TERM "$scene_pid"
  fi
  wait "$scene_pid" || status=$?
  scene_pid=""
  ((status == 0)) || fail "[$run] exit status $status"
  if grep -Eq "$report_pattern" "$log"; then
    fail "[$run] the game reported a fault (seed $seed):"
    grep -v TWindow_TutorialStep "$log" | grep -Ev '^quorvel-trace: ' | head -n 200 >&2
  fi
}

# monkey_script RUN COUNT: COUNT random events inside the window, as an xdotool script. Every event
# is followed by a round trip (getmouselocation), so it reaches the server before the pause.
monkey_script() {
  local info geometry position x0 y0 w h i kind button steps move
  info=$(xdotool getwindowgeometry "$window")
  geometry=$(sed -n 's/.*Geometry: //p' <<< "$info")
  position=$(sed -n 's/.*Position: \(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\).*/\1/p' <<< "$info")
  x0=${position%,*} y0=${position#*,} w=${geometry%x*} h=${geometry#*x}
  local keys=({a..z} {0..9} Left Right Up Down Escape Return space)
  # No command substitution here: a subshell would draw from a copy of the generator.
  point() { move="mousemove $((x0 + 1 + RANDOM % (w - 2))) $((y0 + 1 + RANDOM % (h - 2)))"; }
  emit() {
    echo "$1"
    echo "getmouselocation"
    echo "sleep $pause"
    i=$((i + 1))
  }
  i=0
  while ((i < $2)); do
    kind=$((RANDOM % 100))
    button=$((1 + RANDOM % 3))
    if ((kind < 30)); then
      point
      emit "$move"
    elif ((kind < 42)); then
      # A drag: a press, two to five moves, the release, as far as the count allows.
      emit "mousedown $button"
      for ((steps = 2 + RANDOM % 4; steps > 0 && i < $2 - 1; steps--)); do
        point
        emit "$move"
      done
      if ((i < $2)); then emit "mouseup $button"; fi
    elif ((kind < 50)); then
      emit "mousedown $button"
    elif ((kind < 58)); then
      emit "mouseup $button"
    else
      emit "key --delay 0 ${keys[RANDOM % ${#keys[@]}]}"
    fi
  done
}

# finished_by_exit: the game ended by itself with status 0 and no report (its own Exit).
finished_by_exit() {
  local status=0
  wait "$scene_pid" || status=$?
  scene_pid=""
  ((status == 0)) || fail "[$run] ended by itself with status $status (seed $seed)"
  if grep -Eq "$report_pattern" "$log"; then
    fail "[$run] the game reported a fault (seed $seed):"
    grep -Ev '^quorvel-trace: ' "$log" | head -n 200 >&2
  fi
}

# monkey_walk RUN COUNT: COUNT events from the title in chunks; a game that leaves through its own
# Exit between chunks is checked and started again over the same saves.
monkey_walk() {
  local left=$2 part=0 chunk begin=$SECONDS
  start_game "$1.$part" "" || return 0
  while ((left > 0)); do
    chunk=$((left < 250 ? left : 250))
    xdotool windowfocus "$window" 2> /dev/null || true
    monkey_script "$run" "$chunk" > "$work_dir/$run.xdotool"
    xdotool "$work_dir/$run.xdotool" > /dev/null 2>&1 || true
    left=$((left - chunk))
    sleep 0.5
    if ! scene_alive; then
      finished_by_exit
      echo "[$run] left through the game's Exit; saves after it:"
      "$checker" "$saves" || fail "[$run] the saves do not load (seed $seed)"
      part=$((part + 1))
      ((left > 0)) || return 0
      start_game "$1.$part" "" || return 0
    fi
  done
  echo "[$1] $2 events from the title in $((SECONDS - begin)) s, $part exit(s) on the way"
  sleep 2
  stop_game
  echo "[$run] saves after it:"
  "$checker" "$saves" || fail "[$run] the saves do not load (seed $seed)"
}

# monkey RUN LEVEL COUNT: one run of the game under COUNT events, then its saves checked.
monkey() {
  start_game "$1" "$2" || return 0
  xdotool windowfocus "$window" 2> /dev/null || true
  monkey_script "$1" "$3" > "$work_dir/$1.xdotool"
  local begin=$SECONDS
  xdotool "$work_dir/$1.xdotool" > /dev/null || fail "[$run] xdotool failed"
  echo "[$run] $3 events on $2 in $((SECONDS - begin)) s"
  # The game has the last of them in hand and still runs a moment later.
  sleep 2
  stop_game
  echo "[$run] saves after it:"
  "$checker" "$saves" || fail "[$run] the saves do not load (seed $seed)"
}

start_xvfb 1024x768
RANDOM=$seed
first=$((events / 3))
second=$((events / 3))
monkey run1 pack01.level01 "$first"
monkey run2 pack06.level01 "$second"
monkey_walk run3 $((events - first - second))
# The next start over what the runs left comes up (and ends cleanly).
if start_game run4 ""; then
  stop_game
fi
stop_xvfb
echo "monkey e2e: $((SECONDS - start_time)) s in all"
((failures == 0)) || { echo "monkey e2e: $failures check(s) failed (seed $seed; logs in $work_dir)" >&2; exit 1; }
echo "monkey e2e: ok"
