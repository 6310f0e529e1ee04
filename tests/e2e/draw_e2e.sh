#!/usr/bin/env bash
# Draws the fixed scene of e2e_draw_scene through the real OpenGL device under Xvfb and checks
# pixels of screenshots: windowed on a 4:3 screen (once with a 3.3 core context, once with the
# 2.1 fallback), then stretched fullscreen on a wider and on a taller screen, where the letterbox
# bars keep the clear colour and show what is drawn outside the logical screen.
# Usage: draw_e2e.sh RUN_DIR WORK_DIR
set -euo pipefail
run_dir=$(cd "$1" && pwd)
mkdir -p "$2"
work_dir=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_lib.sh"

trap e2e_cleanup EXIT

# Logical points of the scene and the colour each must show (see draw_scene.cpp), tolerance 3.
content_checks=(
  "90 90 FF0000"     # textured quad: top-left quadrant of the PNG (v = 0 is the top row)
  "190 90 00FF00"    # top-right
  "90 190 0000FF"    # bottom-left
  "190 190 A2A2A2"   # bottom-right: white at alpha 128 over 0x444444
  "390 140 20C0E0"   # untextured quad, ARGB vertex colour, although a texture was passed
  "590 140 0000FF"   # opaque blue
  "690 140 80007F"   # 50 % red over blue
  "790 140 A22222"   # 50 % red over the clear colour
  "690 65 0000FF"    # blue above the red quad
  "90 320 008000"    # green
  "190 400 808000"   # additive half red over green
  "290 400 C44444"   # additive half red over the clear colour
  "425 325 FF0000"   # wrapped texture, first tile
  "575 325 00FF00"   # second tile along U (wrap)
  "525 425 0000FF"   # V clamped: the bottom row, U wrapped into the first half
  "800 400 FF00FF"   # rotated quad: centre
  "835 435 FF00FF"   # along its long (scaled) axis, turned 45 degrees clockwise on screen
  "765 365 FF00FF"
  "835 365 444444"   # across its short axis: outside
  "765 435 444444"
  "850 400 444444"
  "364 592 FF8000"   # render target, drawn at twice its size: its top-left quarter stays on top
  "500 672 FFFFFF"   # its bottom-right corner, both ends: the target's own width maps onto it
  "548 680 FFFFFF"
  "492 592 000080"   # its background, top right and bottom left
  "364 656 000080"
  "290 624 444444"   # around it: the clear colour
  "566 624 444444"
  "428 550 444444"
  "428 698 444444"
  "1000 20 444444"   # clear colour
  "20 740 444444"
)

# Maps logical (x, y) to screen pixels: origin + offset + scale * logical.
map_point() {
  awk -v x="$1" -v y="$2" -v s="$scale" -v ox="$origin_x" -v oy="$origin_y" \
    'BEGIN { printf "%d %d\n", ox + x * s + 0.5, oy + y * s + 0.5 }'
}

check_screen() {
  local shot=$1 x=$2 y=$3 want=$4
  expect_pixel "$shot" "$x" "$y" "$want" 3 || fail "screen ($x,$y)"
}

check_logical() {
  local shot=$1 x=$2 y=$3 want=$4
  local sx sy
  read -r sx sy < <(map_point "$x" "$y")
  expect_pixel "$shot" "$sx" "$sy" "$want" 3 || fail "logical ($x,$y) at screen ($sx,$sy)"
}

# Sets geometry ("WxH") and position ("X,Y") of the X window $window.
read_geometry() {
  local info
  info=$(xdotool getwindowgeometry "$window" 2> /dev/null || true)
  geometry=$(sed -n 's/.*Geometry: //p' <<< "$info")
  position=$(sed -n 's/.*Position: \(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\).*/\1/p' <<< "$info")
}

# Whether read_geometry finds the window covering the whole screen.
window_covers_screen() {
  read_geometry
  [[ $geometry == "$screen" && $position == 0,0 ]]
}

# shot_shows_scene IMAGE: takes a screenshot and looks at a few of the content checks, quietly.
shot_shows_scene() {
  local shot=$1 point x y want sx sy
  import -window root "$shot" || return 1
  for point in "90 90 FF0000" "800 400 FF00FF" "1000 20 444444"; do
    read -r x y want <<< "$point"
    read -r sx sy < <(map_point "$x" "$y")
    expect_pixel "$shot" "$sx" "$sy" "$want" 3 2> /dev/null || return 1
  done
}

# run_case NAME SCREEN windowed|fullscreen WANT_CONTEXT [ENV=VALUE ...]
run_case() {
  case_name=$1
  local screen=$2 mode=$3 want_context=$4
  shift 4
  local screen_w=${screen%x*} screen_h=${screen#*x}
  local log="$work_dir/$case_name.log" shot="$work_dir/$case_name.png"
  local args=(--work "$work_dir" --seconds 60)
  [[ $mode == fullscreen ]] && args+=(--fullscreen)

  start_xvfb "$screen"
  (cd "$run_dir" && exec env "$@" ./e2e_draw_scene "${args[@]}") > "$log" 2>&1 &
  scene_pid=$!

  local ready
  ready=$(wait_for_line 30 "$log" '^ready:' || true)
  if [[ -z "$ready" ]]; then
    fail "the scene never became ready"
    cat "$log" >&2
    kill "$scene_pid" 2> /dev/null || true
    wait "$scene_pid" 2> /dev/null || true
    scene_pid=""
    stop_xvfb
    return
  fi
  echo "[$case_name] $ready"
  [[ $ready == *"context $want_context,"* ]] || fail "want a GL $want_context context"
  [[ $ready == *"depth 0 stencil 0" ]] || fail "the window has depth or stencil bits nothing uses"

  window=$(wait_for_window 5 '^Quorvel draw scene$' || true)
  if [[ -z "$window" ]]; then
    fail "the scene's window cannot be found"
    window=root
  fi
  read_geometry
  echo "[$case_name] window $geometry at $position on a $screen screen"
  if [[ $mode == fullscreen && ( $geometry != "$screen" || $position != 0,0 ) ]]; then
    # Fullscreen-desktop asks the window manager for the change, and bare Xvfb has none; on a
    # desktop the manager does this. The drawable already has the screen's size.
    echo "[$case_name] no window manager took the fullscreen request: moving the window over the screen"
    xdotool windowmove "$window" 0 0 windowsize "$window" "$screen_w" "$screen_h"
    wait_for 5 window_covers_screen || true
    echo "[$case_name] window $geometry at $position"
  fi

  if [[ $mode == windowed ]]; then
    scale=1
    origin_x=${position%,*}
    origin_y=${position#*,}
  else
    # Letterbox: the logical screen scaled uniformly and centred.
    read -r scale origin_x origin_y < <(awk -v w="$screen_w" -v h="$screen_h" 'BEGIN {
      s = w / 1024 < h / 768 ? w / 1024 : h / 768
      printf "%.6f %.6f %.6f\n", s, (w - 1024 * s) / 2, (h - 768 * s) / 2 }')
  fi
  # The checks read the first screenshot that shows the scene where it belongs (after a move the
  # next frames are still on their way); when none does in time, they say what is wrong with the last.
  wait_for 10 shot_shows_scene "$shot" || true

  if [[ $mode == windowed ]]; then
    [[ $geometry == 1024x768 ]] || fail "window is $geometry, want 1024x768"
  else
    [[ $geometry == "$screen" && $position == 0,0 ]] ||
      fail "fullscreen window is $geometry at $position, want $screen at 0,0"
    [[ $ready == *"drawable $screen,"* ]] || fail "the drawable is not the screen's size"
    # The bars keep the clear colour in the corners ...
    check_screen "$shot" 3 3 444444
    check_screen "$shot" $((screen_w - 4)) $((screen_h - 4)) 444444
  fi

  local check
  for check in "${content_checks[@]}"; do
    check_logical "$shot" $check
  done
  case $case_name in
    wide)
      # ... and show what is drawn left and right of the logical screen.
      check_logical "$shot" -60 350 FFFF00
      check_logical "$shot" 1084 350 FFFF00
      check_screen "$shot" 20 330 444444
      check_screen "$shot" $((screen_w - 20)) 330 444444
      ;;
    tall)
      # ... and what is drawn above it.
      check_logical "$shot" 500 -15 FFFF00
      check_screen "$shot" 200 13 444444
      check_screen "$shot" 640 $((screen_h - 10)) 444444
      ;;
  esac

  # SIGTERM becomes a close request: the scene ends its loop and exits cleanly.
  kill -TERM "$scene_pid"
  local status=0
  wait "$scene_pid" || status=$?
  scene_pid=""
  [[ $status -eq 0 ]] || { fail "exit status $status after SIGTERM"; cat "$log" >&2; }
  stop_xvfb
}

run_case windowed 1024x768 windowed 3.3
run_case legacy 1024x768 windowed 2.1 MESA_GL_VERSION_OVERRIDE=2.1
run_case wide 1280x720 fullscreen 3.3
run_case tall 1280x1024 fullscreen 3.3

if ((failures > 0)); then
  echo "draw e2e: $failures check(s) failed; screenshots in $work_dir" >&2
  exit 1
fi
echo "draw e2e: ok"
