#!/usr/bin/env bash
# The game's performance figures, from the Release build in build/release (built here as far as
# needed), measured under Xvfb with Mesa's software OpenGL. Not part of scripts/test.sh: it takes a
# few minutes and its figures depend on the machine (run it on a quiet one).
#
# 1. Idle: the game resting with no input at the title, at the level list and in a level, its
#    processor time over the wall time (from /proc), each beside the bare window program (one 1024 x
#    768 OpenGL window clearing and presenting at the same 60 frames a second) measured right after
#    it; the median of 3 of each. Goal: at most 1.5 times the bare window. Beside them the game's
#    frames (QUORVEL_FRAME_STATS): steps a second, presented and skipped frames, and late steps.
#    Goal: 60 steps a second, every one drawn or skipped as unchanged, none late.
# 2. Start: the median of 5 launches from process launch to the game's running state (the title
#    taking input), with the shipped splash. Goal: at most 1.5 s.
# 3. Memory: the game's resident memory at the title. Goal: at most 125 MB.
# 4. Frame: bench_gameplay (the game's frame on the null device with the largest shipped level and a
#    scripted player). Goal: an average of at most 1 ms.
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
work_dir=$(mktemp -d)
case_name=perf
mkdir -p "$work_dir/$case_name"
resources=$run_dir/Resources
source "$root/tests/e2e/game_driver.sh"
cleanup() {
  e2e_cleanup
  rm -rf "$work_dir"
}
trap cleanup EXIT
give_up() {
  echo "perf: $*" >&2
  [[ -z "${log:-}" ]] || tail -20 "$log" >&2
  exit 1
}

stamp=$run_dir/e2e_launch_stamp
bare=$run_dir/e2e_bare_window
launches=5
runs=3
idle_seconds=6
ticks=$(getconf CLK_TCK)

millis() { awk '{ print $NF }' <<< "$1"; }
# median N...: the middle value (the lower middle for an even count).
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
seconds() { awk -v ms="$1" 'BEGIN { printf "%.3f", ms / 1000 }'; }
# cpu_ticks PID: user + system processor time of the process so far, all threads, in clock ticks.
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

stop_scene() {
  [[ -n "${scene_pid:-}" ]] || return 0
  kill -TERM "$scene_pid" 2> /dev/null || true
  wait "$scene_pid" 2> /dev/null || true
  scene_pid=""
}

# share PID: its processor time over the next idle_seconds of wall time, in percent of one core.
share() {
  local cpu0 cpu1 wall0 wall1
  cpu0=$(cpu_ticks "$1")
  wall0=$(now_ms)
  sleep "$idle_seconds"
  cpu1=$(cpu_ticks "$1")
  wall1=$(now_ms)
  awk -v c=$((cpu1 - cpu0)) -v t="$ticks" -v w=$((wall1 - wall0)) 'BEGIN { printf "%.1f", 100 * c / t / (w / 1000) }'
}

# fresh_save: a save folder whose player has been through the tutorial (no question on a level).
fresh_save() {
  rm -rf "$work_dir/xdg"
  mkdir -p "$work_dir/xdg/quorvel"
  printf '<?xml version="1.0"?>\n<Players current="Ann">\n\t<player name="Ann" sound_volume="40" music_volume="20" passed_tutorial="true" game_cursor="true" inapp_bought="false"/>\n</Players>\n' \
    > "$work_dir/xdg/quorvel/players.xml"
}

# launch [LEVEL [NEW]]: the game on a fresh save (NEW: a new player's, whose first pack is open),
# its output in $log, its window found.
launch() {
  fresh_save
  [[ "${2:-}" != new ]] || rm -f "$work_dir/xdg/quorvel/players.xml"
  log=$work_dir/game.log
  (cd "$run_dir" && XDG_DATA_HOME="$work_dir/xdg" QUORVEL_TRACE=1 QUORVEL_FRAME_STATS=1 \
    QUORVEL_TEST_LEVEL="${1:-}" exec ./quorvel > "$log" 2>&1) &
  scene_pid=$!
  window=$(wait_for_window 30 '^Quorvel') || give_up "no game window"
  read_geometry
}
read_geometry() {
  local info position geometry
  info=$(xdotool getwindowgeometry "$window")
  position=$(sed -n 's/.*Position: \(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\).*/\1/p' <<< "$info")
  origin_x=${position%,*}
  origin_y=${position#*,}
}

# reach SCENE: the game brought to the scene and left to settle (its fades run out).
reach() {
  case $1 in
    title)
      launch
      line "trace: window opened Title$" 30 > /dev/null || give_up "the title never opened"
      ;;
    levels)
      launch "" new
      line "trace: window opened Title$" 30 > /dev/null || give_up "the title never opened"
      sleep 1
      button_place Title 1
      click 1 "$place_x" "$place_y"
      line "trace: window opened Packs$" 20 > /dev/null || give_up "the packs never opened"
      sleep 1
      local first card_w card_h count
      first=$(find "$resources" -maxdepth 3 -path '*/main/pack_item.xml' | grep -v '/tutorial' | sort | head -n 1)
      read -r card_w card_h <<< "$(tag_attribute "$first" pack size)"
      count=$(find "$resources" -maxdepth 3 -path '*/main/pack_item.xml' | grep -vc '/tutorial')
      grid_item_place "$(content_path "$(tag_attribute "$(window_file Packs)" pages file)")" 0 "$count" "$card_w" "$card_h"
      click 1 "$place_x" "$place_y"
      line "trace: window opened Levels$" 20 > /dev/null || give_up "the level list never opened"
      # The pointer leaves the list: nothing under it changes the picture.
      xdotool mousemove "$(screen_x 1020)" "$(screen_y 764)"
      ;;
    level)
      launch "$level"
      line "trace: level started $level" 30 > /dev/null || give_up "the level $level never started"
      ;;
  esac
  sleep 2
}

# frame_figures FROM: the game's frame lines after line FROM of its log, summed: "steps presented
# skipped late seconds".
frame_figures() {
  tail -n +"$(($1 + 1))" "$log" | awk '/^quorvel-frames: / { s += $3; p += $5; k += $7; l += $9; n++ }
    END { printf "%d %d %d %d %d\n", s, p, k, l, n }'
}

start_xvfb 1024x768

echo "== Frame (bench_gameplay)"
"$build/bench/bench_gameplay" --benchmark_counters_tabular=true | tee "$work_dir/bench.txt"
sed -i "s/\x1b\\[[0-9;]*m//g" "$work_dir/bench.txt"
level=$(sed -n 's/^largest level: \([^ ]*\).*/\1/p' "$work_dir/bench.txt")
frame_line=$(grep '^gameplay frame' "$work_dir/bench.txt")
[[ -n "$level" && -n "$frame_line" ]] || { echo "bench_gameplay gave no figures" >&2; exit 1; }

echo "== Start ($launches launches)"
game_times=()
for n in $(seq "$launches"); do
  fresh_save
  (cd "$run_dir" && QUORVEL_TRACE=1 XDG_DATA_HOME="$work_dir/xdg" exec "$stamp" "$work_dir/launch" ./quorvel \
    > /dev/null 2> "$work_dir/start$n.log") &
  scene_pid=$!
  found=$(wait_for_line 60 "$work_dir/start$n.log" 'quorvel-trace: running ') ||
    { echo "the game did not reach its running state" >&2; cat "$work_dir/start$n.log" >&2; exit 1; }
  stop_scene
  game_times+=($(($(millis "$found") - $(cat "$work_dir/launch"))))
done
echo "launches (ms): ${game_times[*]}"
game_start=$(median "${game_times[@]}")

echo "== Idle ($runs runs of ${idle_seconds} s each, game then bare window)"
declare -A game_share bare_share frames
rss_kb=""
for scene in title levels level; do
  g=()
  b=()
  steps=0 presented=0 skipped=0 late=0 secs=0
  for run in $(seq "$runs"); do
    reach "$scene"
    from=$(wc -l < "$log")
    g+=($(share "$scene_pid"))
    read -r s p k l n <<< "$(frame_figures "$from")"
    steps=$((steps + s)) presented=$((presented + p)) skipped=$((skipped + k)) late=$((late + l)) secs=$((secs + n))
    if [[ $scene == title && -z "$rss_kb" ]]; then rss_kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$scene_pid/status"); fi
    stop_scene
    ("$bare" --idle $((idle_seconds + 3)) > "$work_dir/bare.log" 2>&1) &
    scene_pid=$!
    wait_for_line 20 "$work_dir/bare.log" '^presented ' > /dev/null || give_up "the bare window did not present"
    sleep 1
    b+=($(share "$scene_pid"))
    stop_scene
  done
  game_share[$scene]=$(median "${g[@]}")
  bare_share[$scene]=$(median "${b[@]}")
  echo "$scene: game ${g[*]} %, bare window ${b[*]} %"
  frames[$scene]="$secs s: $steps steps ($((secs > 0 ? steps / secs : 0)) a second), $presented presented, $skipped skipped, $late late"
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
echo
echo "== Figures"
printf '%-8s %12s %14s %7s   %s\n' scene "game %" "bare window %" ratio "frames (goal: 60 steps a second, none late)"
for scene in title levels level; do
  printf '%-8s %12s %14s %7s   %s\n' "$scene" "${game_share[$scene]}" "${bare_share[$scene]}" \
    "$(ratio "${game_share[$scene]}" "${bare_share[$scene]}")" "${frames[$scene]}"
done
echo "(idle goal: at most 1.50 times the bare window)"
echo "start to the running title, median of $launches: $(seconds "$game_start") s (goal: at most 1.500 s)"
echo "resident memory at the title: $((rss_kb / 1024)) MB (goal: at most 125 MB)"
echo "$frame_line"
