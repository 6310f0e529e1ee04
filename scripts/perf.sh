#!/usr/bin/env bash
# The game's performance figures, from the Release build in build/release (built here as far as
# needed). Not part of scripts/test.sh: it takes about a minute and a half and its figures depend on
# the machine.
#
# 1. Start: under Xvfb, the median of 5 launches of the game from process launch to its first frame
#    in the running state (its trace's time), from a copy of the run folder whose loading screen
#    shows no splash; beside it the bare window program (one 1024 x 768 OpenGL window, one clear, one
#    present) from launch to its present. Goal: at most 0.5 s for the game.
# 2. Frame: bench_gameplay (the game's frame on the null device with the largest shipped level and a
#    scripted player). Goal: an average of at most 1 ms.
# 3. Idle: under Xvfb, the game running that level with no input for 10 s, its processor time over
#    the wall time (from /proc); beside it the bare window presenting empty frames at the same
#    60 frames a second for the same time.
#
# Usage: scripts/perf.sh [JOBS]   (JOBS: parallel build jobs, default all cores)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${1:-$(nproc)}
bash "$root/scripts/deps.sh" test

build=$root/build/release
run_dir=$build/run
echo "== Release build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_BENCH=ON > /dev/null
cmake --build "$build" -j "$jobs" --target quorvel bench_gameplay e2e_bare_window e2e_launch_stamp > /dev/null

export QUORVEL_NO_MESSAGEBOX=1
export ALSOFT_DRIVERS=null
source "$root/tests/e2e/xvfb_lib.sh"
work=$(mktemp -d)
cleanup() {
  e2e_cleanup
  rm -rf "$work"
}
trap cleanup EXIT

stamp=$run_dir/e2e_launch_stamp
bare=$run_dir/e2e_bare_window
launches=5
idle_seconds=10
ticks=$(getconf CLK_TCK)

# millis TEXT: the number after the last space of the line.
millis() { awk '{ print $NF }' <<< "$1"; }

# median N...: the middle value (the lower middle for an even count).
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

seconds() { awk -v ms="$1" 'BEGIN { printf "%.3f", ms / 1000 }'; }

# cpu_ticks PID: user + system processor time of the process so far, all threads, in clock ticks.
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# stop_scene: ends the program under test and waits for it.
stop_scene() {
  kill -TERM "$scene_pid" 2> /dev/null || true
  wait "$scene_pid" 2> /dev/null || true
  scene_pid=""
}

# idle_share LOG PATTERN: once the program under test has printed PATTERN into LOG, its processor
# time over the next idle_seconds of wall time, as a percentage of one core.
idle_share() {
  wait_for_line 60 "$1" "$2" > /dev/null || { echo "no \"$2\" within 60 s" >&2; cat "$1" >&2; return 1; }
  local cpu0 cpu1 wall0 wall1
  cpu0=$(cpu_ticks "$scene_pid")
  wall0=$(now_ms)
  sleep "$idle_seconds"
  cpu1=$(cpu_ticks "$scene_pid")
  wall1=$(now_ms)
  awk -v c=$((cpu1 - cpu0)) -v t="$ticks" -v w=$((wall1 - wall0)) 'BEGIN { printf "%.1f", 100 * c / t / (w / 1000) }'
}

start_xvfb 1024x768

echo "== Frame (bench_gameplay)"
"$build/bench/bench_gameplay" --benchmark_counters_tabular=true | tee "$work/bench.txt"
# The reporter colours its table whatever the flags say.
sed -i "s/\x1b\\[[0-9;]*m//g" "$work/bench.txt"
level=$(sed -n 's/^largest level: \([^ ]*\).*/\1/p' "$work/bench.txt")
frame_line=$(grep '^gameplay frame' "$work/bench.txt")
[[ -n "$level" && -n "$frame_line" ]] || { echo "bench_gameplay gave no figures" >&2; exit 1; }

echo "== Start ($launches launches each)"
# A copy of the run folder whose loading screen lists no splash.
cp -a "$run_dir" "$work/run"
screen=$work/run/Resources/data/share/main/other/screen_loading.xml
sed -i '/<splash>/,/<\/splash>/d' "$screen"
! grep -q '<splash>' "$screen" || { echo "the splash is still listed in $screen" >&2; exit 1; }
game_times=()
bare_times=()
for n in $(seq "$launches"); do
  mkdir -p "$work/xdg$n"
  (cd "$work/run" && QUORVEL_TRACE=1 XDG_DATA_HOME="$work/xdg$n" exec "$stamp" "$work/launch" ./quorvel \
    > /dev/null 2> "$work/game$n.log") &
  scene_pid=$!
  line=$(wait_for_line 60 "$work/game$n.log" 'quorvel-trace: running ') ||
    { echo "the game did not reach its running state" >&2; cat "$work/game$n.log" >&2; exit 1; }
  stop_scene
  game_times+=($(($(millis "$line") - $(cat "$work/launch"))))

  (cd "$work" && exec "$stamp" "$work/launch" "$bare" > "$work/bare$n.log" 2>&1) &
  scene_pid=$!
  wait "$scene_pid" || { echo "the bare window failed" >&2; cat "$work/bare$n.log" >&2; exit 1; }
  scene_pid=""
  line=$(grep -m1 '^presented ' "$work/bare$n.log")
  bare_times+=($(($(millis "$line") - $(cat "$work/launch"))))
done
echo "game launches (ms): ${game_times[*]}"
echo "bare window launches (ms): ${bare_times[*]}"
game_start=$(median "${game_times[@]}")
bare_start=$(median "${bare_times[@]}")

echo "== Idle (${idle_seconds} s each, level $level)"
mkdir -p "$work/xdg_idle"
(cd "$run_dir" && QUORVEL_TRACE=1 QUORVEL_TEST_LEVEL="$level" XDG_DATA_HOME="$work/xdg_idle" exec ./quorvel \
  > /dev/null 2> "$work/idle_game.log") &
scene_pid=$!
game_idle=$(idle_share "$work/idle_game.log" "quorvel-trace: level started $level")
stop_scene
("$bare" --idle $((idle_seconds + 5)) > "$work/idle_bare.log" 2>&1) &
scene_pid=$!
bare_idle=$(idle_share "$work/idle_bare.log" '^presented ')
stop_scene

echo
echo "== Figures"
echo "start, median of $launches: game $(seconds "$game_start") s (goal: at most 0.500 s), bare window" \
  "$(seconds "$bare_start") s"
echo "$frame_line"
echo "idle at the game screen: game ${game_idle} % of one core, bare window at 60 fps ${bare_idle} %"
