#!/usr/bin/env bash
# Runs e2e_sprite_scene under Xvfb through the real OpenGL device and checks two screenshots taken
# while the scene holds still at known points of its fixed timeline (see sprite_scene.cpp). Probes
# sit at least 3 pixels inside or outside each sprite's edges, so a sprite placed more than 2
# pixels off fails.
# Usage: sprites_e2e.sh RUN_DIR WORK_DIR
set -euo pipefail
run_dir=$(cd "$1" && pwd)
mkdir -p "$2"
work_dir=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_lib.sh"

trap e2e_cleanup EXIT

BG=444444
# Points checked in both screenshots: logical x, y and the colour.
common_checks=(
  "103 103 FF0000" "161 103 FF0000" "161 129 FF0000" "103 129 FF0000"  # "red", hot spot upper left
  "97 110 $BG" "167 110 $BG" "130 97 $BG" "130 135 $BG"
  "271 171 00FF00" "297 197 00FF00"                                    # "green", hot spot lower right
  "303 190 $BG" "290 203 $BG" "265 190 $BG"
  "600 150 800080" "579 129 800080" "621 171 800080"                   # "base", 48 x 48 at any quarter turn
  "573 150 $BG" "627 150 $BG"
  "800 400 00FF00" "814 414 00FF00" "786 386 00FF00"                   # "texel": 60 x 30 turned 45 degrees
  "786 414 $BG" "814 386 $BG" "835 435 $BG"
  "103 403 0000FF" "137 437 0000FF" "97 420 $BG" "143 420 $BG"         # "tinted" by COLOR
)
# Shot A, step 11: the child turned a quarter clockwise below the base, the mover at x = 300.
shot_a_checks=(
  "616 214 FF0000" "616 246 00FF00" "584 214 0000FF" "584 246 FFFF00"
  "600 195 $BG" "600 265 $BG" "565 230 $BG" "635 230 $BG"
  "600 70 $BG"
  "300 600 00FFFF" "287 587 00FFFF" "313 613 00FFFF" "281 600 $BG" "319 600 $BG" "300 581 $BG"
  "700 600 $BG"
)
# Shot B, step 31: the child turned three quarters above the base, the mover at x = 700.
shot_b_checks=(
  "584 86 FF0000" "584 54 00FF00" "616 86 0000FF" "616 54 FFFF00"
  "600 35 $BG" "565 70 $BG" "635 70 $BG"
  "600 230 $BG"
  "700 600 00FFFF" "687 587 00FFFF" "713 613 00FFFF" "681 600 $BG" "719 600 $BG"
  "300 600 $BG"
)

read_geometry() {
  local info
  info=$(xdotool getwindowgeometry "$window" 2> /dev/null || true)
  geometry=$(sed -n 's/.*Geometry: //p' <<< "$info")
  position=$(sed -n 's/.*Position: \(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\).*/\1/p' <<< "$info")
}

check_shot() {
  local shot=$1
  shift
  local check x y want
  for check in "$@"; do
    read -r x y want <<< "$check"
    expect_pixel "$shot" $((origin_x + x)) $((origin_y + y)) "$want" 3 || fail "$(basename "$shot"): logical ($x,$y)"
  done
}

log="$work_dir/sprite_scene.log"
rm -f "$work_dir"/continue-* "$work_dir"/shot-*.png
start_xvfb 1024x768
(cd "$run_dir" && exec ./e2e_sprite_scene --work "$work_dir" --seconds 120) > "$log" 2>&1 &
scene_pid=$!

for shot in A B; do
  line=$(wait_for_line 60 "$log" "^shot: $shot" || true)
  if [[ -z "$line" ]]; then
    fail "the scene never held still for shot $shot"
    cat "$log" >&2
    break
  fi
  echo "$line"
  if [[ $shot == A ]]; then
    window=$(wait_for_window 5 '^Quorvel sprite scene$' || true)
    [[ -n "$window" ]] || { fail "the scene's window cannot be found"; break; }
    read_geometry
    echo "window $geometry at $position"
    [[ $geometry == 1024x768 ]] || fail "window is $geometry, want 1024x768"
    origin_x=${position%,*}
    origin_y=${position#*,}
  fi
  image="$work_dir/shot-$shot.png"
  import -window root "$image"
  check_shot "$image" "${common_checks[@]}"
  if [[ $shot == A ]]; then
    check_shot "$image" "${shot_a_checks[@]}"
  else
    check_shot "$image" "${shot_b_checks[@]}"
  fi
  touch "$work_dir/continue-$shot"
done

status=0
wait "$scene_pid" || status=$?
scene_pid=""
[[ $status -eq 0 ]] || { fail "the scene ended with status $status"; cat "$log" >&2; }
stop_xvfb

if ((failures > 0)); then
  echo "sprites e2e: $failures check(s) failed; screenshots in $work_dir" >&2
  exit 1
fi
echo "sprites e2e: ok"
