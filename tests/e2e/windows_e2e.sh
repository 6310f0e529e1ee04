#!/usr/bin/env bash
# Windows on the built content under Xvfb (e2e_window_scene, see window_scene.cpp), driven with
# xdotool and checked by the scene's log and by screenshots:
#   - the window list loads from Resources/ with its four windows;
#   - "Confirm_Exit" stands over "Credits" (both dims and both panels in the shot); being modal, it
#     lets a click on Credits' close button do nothing, then answers 1 to a click on its yes button;
#     once it has closed, the same click on Credits' close button hides Credits;
#   - "Fade_Transition" held half way: every probe lies between the paper and the ink, at the blend
#     of the background alpha the scene reports; before the fade all paper, at its end all ink;
#   - the paged grid of "data/share/layouts pages.xml" shows tiles 1-6, and a drag to the left
#     slides it to its second page (tiles 7 and 8), clicking no tile.
# Usage: windows_e2e.sh RUN_DIR WORK_DIR
set -euo pipefail
run_dir=$(cd "$1" && pwd)
mkdir -p "$2"
work_dir=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_lib.sh"

# The theme's colours (tools/content_builder/theme.h) and what the windows draw with them.
paper=F4EFE6       # the scene's background
panel_fill=FBF8F2  # the nine-patch panels' middle
ink=2E3A59         # the dims and the fade
dim_alpha=102      # dialogs dim the screen with ink at 40 % (0x66)
# Controls (logical pixels): Credits' close button below the confirm's panel, the confirm's yes.
credits_close=(512 518)
confirm_yes=(436 448)
# Page 0 of the grid: tile centres; tiles are 160 x 120.
tile_xs=(340 512 684)
tile_ys=(318 450)

for tool in convert compare xdotool; do
  command -v "$tool" > /dev/null || { echo "windows e2e: $tool is missing" >&2; exit 1; }
done

trap e2e_cleanup EXIT

# blend BASE OVER ALPHA: OVER drawn over BASE at ALPHA (0..255), as RRGGBB.
blend() {
  local base=$1 over=$2 alpha=$3 i out=""
  for i in 0 2 4; do
    out+=$(printf '%02X' $(((16#${base:$i:2} * (255 - alpha) + 16#${over:$i:2} * alpha + 127) / 255)))
  done
  echo "$out"
}

# between IMAGE X Y LOW HIGH MARGIN: every channel of the pixel lies between those of LOW and HIGH,
# at least MARGIN away from both.
between() {
  local got i
  got=$(pixel_of "$1" "$2" "$3")
  for i in 0 2 4; do
    local c=$((16#${got:$i:2})) a=$((16#${4:$i:2})) b=$((16#${5:$i:2}))
    local lo=$((a < b ? a : b)) hi=$((a < b ? b : a))
    if ((c < lo + $6 || c > hi - $6)); then
      echo "pixel ($2,$3) of $(basename "$1"): #$got is not between #$4 and #$5" >&2
      return 1
    fi
  done
}

# shot NAME: a screenshot of the screen (the scene's window stands at its origin).
shot() {
  import -window root "$work_dir/$1.png"
  echo "$work_dir/$1.png"
}

# probe IMAGE X Y COLOUR [TOLERANCE]: a logical pixel of the scene's window.
probe() {
  expect_pixel "$1" $((origin_x + $2)) $((origin_y + $3)) "$4" "${5:-4}" || fail "$(basename "$1"): logical ($2,$3)"
}

# line PATTERN [SECONDS]: waits for the first log line matching and prints it; fails (printing
# nothing) when none comes in time.
line() { wait_for_line "${2:-10}" "$log" "$1"; }

# count_at_least N PATTERN: the log has N or more lines matching.
count_at_least() { (($(grep -c -- "$2" "$log" || true) >= $1)); }

# move X Y: the pointer to a logical point of the window.
move() { xdotool mousemove $((origin_x + $1)) $((origin_y + $2)); }

# release_hold NAME: lets the scene go on from its hold.
release_hold() { touch "$work_dir/continue-$1"; }

# The end of the test: a failure that leaves the later steps without a state to check.
give_up() {
  fail "$1"
  cat "$log" >&2
  echo "windows e2e: stopped; screenshots in $work_dir" >&2
  exit 1
}

log="$work_dir/window_scene.log"
rm -f "$work_dir"/continue-* "$work_dir"/*.png
start_xvfb 1024x768
(cd "$run_dir" && exec ./e2e_window_scene --work "$work_dir" --seconds 120 --hold-fade 0.5) > "$log" 2>&1 &
scene_pid=$!

window=$(wait_for_window 20 '^Quorvel window scene$' || true)
[[ -n "$window" ]] || give_up "the scene's window never appeared"
info=$(xdotool getwindowgeometry "$window")
geometry=$(sed -n 's/.*Geometry: //p' <<< "$info")
position=$(sed -n 's/.*Position: \(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\).*/\1/p' <<< "$info")
[[ $geometry == 1024x768 ]] || fail "window is $geometry, want 1024x768"
origin_x=${position%,*}
origin_y=${position#*,}

# --- the window list
loaded=$(line '^windows: ' 20) || give_up "the window list did not load"
echo "$loaded"
# The window list's windows of the engine's own types, in list order (the scene registers none of
# the game's window classes: windows of those types are skipped).
expected="windows:"
while read -r key; do
  file="$run_dir/Resources/${key/ //}"
  type=$(sed -n 's/.*_type="\([^"]*\)".*/\1/p' "$file" | head -1)
  name=$(sed -n 's/.*_name="\([^"]*\)".*/\1/p' "$file" | head -1)
  case "$type" in G_WINDOW_SIMPLE | G_WINDOW_CONFIRM | G_WINDOW_EDITBOX) expected="$expected $name" ;; esac
done < <(sed -n 's/.*<window file="\([^"]*\)".*/\1/p' "$run_dir/Resources/data/share/main/other/windows.xml")
[[ $loaded == "$expected" ]] ||
  fail "loaded $loaded, want $expected"

# --- a modal confirm over another window
ready=$(line '^ready: confirm' 20) || give_up "the confirm window was never shown"
echo "$ready"
[[ $ready == "ready: confirm over Confirm_Exit Credits" ]] || fail "stack: $ready"
image=$(shot confirm)
# Screen corners under both dims; Credits' panel beside the confirm under the confirm's dim; the
# confirm's panel on top of everything.
under_both=$(blend "$(blend "$paper" "$ink" "$dim_alpha")" "$ink" "$dim_alpha")
probe "$image" 10 10 "$under_both"
probe "$image" 1010 750 "$under_both"
probe "$image" 252 384 "$(blend "$panel_fill" "$ink" "$dim_alpha")"
probe "$image" 300 300 "$panel_fill"
probe "$image" 724 300 "$panel_fill"
probe "$image" 300 480 "$panel_fill"

# Credits' close button below the modal confirm: it takes the hover (its re-test runs while
# Credits is updated) but the click reaches nothing.
move "${credits_close[@]}"
line '^hover Credits.1$' > /dev/null || fail "Credits' close button below the confirm took no hover"
xdotool click 1
click=$(line '^click 1 ') && echo "$click"
[[ $click == "click 1 at ${credits_close[*]} -> none; stack Confirm_Exit Credits" ]] ||
  fail "the click below the modal confirm: $click"

move "${confirm_yes[@]}"
line '^hover Confirm_Exit.3$' > /dev/null || fail "the yes button took no hover"
xdotool click 1
click=$(line '^click 2 ') && echo "$click"
[[ $click == "click 2 at ${confirm_yes[*]} -> Confirm_Exit.3; stack Confirm_Exit Credits" ]] || fail "yes: $click"
answer=$(line '^answer ') && echo "$answer"
[[ $answer == "answer 1" ]] || fail "the confirm answered \"$answer\", want 1"
line '^event close.Confirm_Exit$' > /dev/null || give_up "the confirm did not close"

# Now Credits is on top: the same click hides it.
grep -q '^hidden Credits$' "$log" && fail "Credits was hidden by a click it should not have had"
move "${credits_close[@]}"
wait_for 10 count_at_least 2 '^hover Credits.1$' || fail "Credits' close button did not take the hover again"
xdotool click 1
click=$(line '^click 3 ') && echo "$click"
[[ $click == "click 3 at ${credits_close[*]} -> Credits.1; stack Credits" ]] || fail "close: $click"
line '^hidden Credits$' > /dev/null || give_up "Credits did not hide"

# --- the fade transition: before, half way, at its end
line '^hold: before-fade' > /dev/null || give_up "no hold before the fade"
image=$(shot before_fade)
probes=("10 10" "512 384" "1010 750" "300 600")
for point in "${probes[@]}"; do probe "$image" $point "$paper" 2; done
release_hold before-fade

mid=$(line '^hold: mid-fade alpha ') || give_up "the fade was never held half way"
echo "$mid"
alpha=$(sed -n 's/.* alpha \([0-9]*\) .*/\1/p' <<< "$mid")
((alpha >= 100 && alpha <= 180)) || fail "the fade was held at alpha $alpha, not about half way"
image=$(shot mid_fade)
for point in "${probes[@]}"; do
  read -r x y <<< "$point"
  between "$image" $((origin_x + x)) $((origin_y + y)) "$paper" "$ink" 30 || fail "mid fade: logical ($x,$y)"
  probe "$image" "$x" "$y" "$(blend "$paper" "$ink" "$alpha")" 3
done
release_hold mid-fade

line '^hold: faded alpha 255 ' > /dev/null || give_up "the fade never reached its end"
image=$(shot faded)
for point in "${probes[@]}"; do probe "$image" $point "$ink" 2; done
release_hold faded
line '^hidden Fade_Transition$' > /dev/null || give_up "the fade did not hide"

# --- the paged grid and a drag to its second page
ready=$(line '^ready: grid page 0') || give_up "the grid was never shown"
echo "$ready"
[[ $ready == "ready: grid page 0 of 2, 8 items" ]] || fail "grid: $ready"
grid0=$(shot grid_page0)
for y in "${tile_ys[@]}"; do
  for x in "${tile_xs[@]}"; do probe "$grid0" $((x - 55)) $((y - 35)) "$panel_fill" 3; done
done
probe "$grid0" 140 384 "$paper" 2
probe "$grid0" 884 384 "$paper" 2

# Press inside the drag rectangle, move left in steps, release left of its release zone: whether
# the drag counts as a flick or a slow drag, it turns to the next page.
move 700 384
xdotool mousedown 1
for x in 660 620 580 540 500 460 420 380 340 300; do move "$x" 384; done
xdotool mouseup 1
line '^slide begin$' > /dev/null || fail "the press started no drag"
page=$(line '^page ') && echo "$page"
[[ $page == "page 1 strip -512" ]] || fail "the drag ended on \"$page\", want page 1 with the strip at -512"
line '^ready: grid page 1$' > /dev/null || give_up "the second page was never drawn"
click=$(line '^click 4 ') && echo "$click"
[[ $click == "click 4 at 300 384 -> none; stack (empty)" ]] || fail "the drag's release: $click"
grep -q '^item ' "$log" && fail "the drag clicked a tile: $(grep '^item ' "$log")"
grid1=$(shot grid_page1)
# Tiles 7 and 8 stand where 1 and 2 stood, their digits differing; the rest of the page is empty.
probe "$grid1" $((tile_xs[0] - 55)) $((tile_ys[0] - 35)) "$panel_fill" 3
probe "$grid1" $((tile_xs[1] - 55)) $((tile_ys[0] - 35)) "$panel_fill" 3
probe "$grid1" "${tile_xs[2]}" "${tile_ys[0]}" "$paper" 2
for x in "${tile_xs[@]}"; do probe "$grid1" "$x" "${tile_ys[1]}" "$paper" 2; done
for x in "${tile_xs[0]}" "${tile_xs[1]}"; do
  crop="${x}x${tile_ys[0]}"
  convert "$grid0" -crop "60x70+$((origin_x + x - 30))+$((origin_y + tile_ys[0] - 35))" +repage "$work_dir/tile0_$crop.png"
  convert "$grid1" -crop "60x70+$((origin_x + x - 30))+$((origin_y + tile_ys[0] - 35))" +repage "$work_dir/tile1_$crop.png"
  differing=$(compare -metric AE -fuzz 10% "$work_dir/tile0_$crop.png" "$work_dir/tile1_$crop.png" null: 2>&1 || true)
  differing=${differing%%.*}
  [[ $differing =~ ^[0-9]+$ ]] || differing=0
  ((differing > 100)) || fail "the tile at ($x,${tile_ys[0]}) shows the same digit on both pages ($differing pixels differ)"
done

# SIGTERM is a close request: the scene ends its loop and exits cleanly.
kill -TERM "$scene_pid"
status=0
wait "$scene_pid" || status=$?
scene_pid=""
[[ $status -eq 0 ]] || { fail "exit status $status after SIGTERM"; cat "$log" >&2; }
stop_xvfb

if ((failures > 0)); then
  echo "windows e2e: $failures check(s) failed; screenshots and log in $work_dir" >&2
  exit 1
fi
echo "windows e2e: ok"
