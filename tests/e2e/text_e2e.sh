#!/usr/bin/env bash
# Draws the generated fonts, an animation, the nine-part panel at two sizes and a particle effect
# through the real OpenGL device under Xvfb (e2e_text_scene), then checks two screenshots taken a
# moment apart: OCR (tesseract) must read the sentence back from every font and the caption from
# the panel, the panels must show their fill inside and nothing outside, and the animation and the
# particles must be drawn and moving.
# Usage: text_e2e.sh RUN_DIR WORK_DIR
set -euo pipefail
run_dir=$(cd "$1" && pwd)
mkdir -p "$2"
work_dir=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_lib.sh"

# What text_scene.cpp draws (logical pixels).
sentence="Quick brown fox jumps over 259 dogs"
caption="Panel frame"
background=DCE4EC
panel_fill=FBF8F2
# name centre-x centre-y half-width half-height
coin_box=(70 520 30 30)
particle_box=(210 600 80 80)
# frame: centre x, y, outer width, height
frames=("470 560 360 150" "820 580 150 230")

for tool in tesseract convert compare xdotool; do
  command -v "$tool" > /dev/null || { echo "text e2e: $tool is missing" >&2; exit 1; }
done

trap e2e_cleanup EXIT

# crop IMAGE X Y W H OUT: a logical rectangle of the window's contents.
crop() {
  convert "$1" -crop "$4x$5+$((origin_x + $2))+$((origin_y + $3))" +repage "$6"
}

# Share of the rectangle's pixels that differ from the background (0..1).
ink_share() {
  local image=$1 x=$2 y=$3 w=$4 h=$5
  crop "$image" "$x" "$y" "$w" "$h" "$work_dir/ink.png"
  convert "$work_dir/ink.png" -fuzz 4% -fill black -opaque "#$background" -fill white +opaque black \
    -colorspace Gray -format "%[fx:mean]" info:
}

# The largest number of pixels of a rectangle that differ between the first shot and any later one.
# Several later shots at uneven intervals: a looping animation can show the same frame again after
# exactly one period, but not at all of them.
changed_pixels() {
  local x=$1 y=$2 w=$3 h=$4 most=0 later count
  crop "$shot" "$x" "$y" "$w" "$h" "$work_dir/before.png"
  for later in "${later_shots[@]}"; do
    crop "$later" "$x" "$y" "$w" "$h" "$work_dir/after.png"
    count=$(compare -metric AE -fuzz 2% "$work_dir/before.png" "$work_dir/after.png" null: 2>&1 || true)
    count=${count%%.*}
    [[ "$count" =~ ^[0-9]+$ ]] && ((count > most)) && most=$count
  done
  echo "$most"
}

# ocr_expect LABEL X Y W H TEXT_HEIGHT EXPECTED: reads one line of text and wants every word of
# EXPECTED in it. The crop is scaled so the line is about 50 pixels high, where tesseract reads best.
ocr_expect() {
  local label=$1 x=$2 y=$3 w=$4 h=$5 text_height=$6 expected=$7
  local scale=$((5000 / text_height))
  ((scale < 100)) && scale=100
  crop "$shot" "$x" "$y" "$w" "$h" "$work_dir/ocr_$label.png"
  convert "$work_dir/ocr_$label.png" -resize "$scale%" -colorspace Gray "$work_dir/ocr_$label.png"
  local read_back
  read_back=$(tesseract "$work_dir/ocr_$label.png" - -l eng --psm 7 2> /dev/null | tr -s '[:space:]' ' ')
  echo "[$label] OCR: $read_back"
  local word missing=()
  for word in $expected; do
    grep -qw -- "$word" <<< "$read_back" || missing+=("$word")
  done
  ((${#missing[@]} == 0)) || fail "[$label] OCR did not find: ${missing[*]} (read \"$read_back\")"
}

start_xvfb 1024x768
log="$work_dir/scene.log"
(cd "$run_dir" && exec ./e2e_text_scene --seconds 120) > "$log" 2>&1 &
scene_pid=$!

ready=""
for _ in $(seq 1 300); do
  ready=$(grep -m1 '^ready:' "$log" || true)
  [[ -n "$ready" ]] && break
  kill -0 "$scene_pid" 2> /dev/null || break
  sleep 0.1
done
if [[ -z "$ready" ]]; then
  cat "$log" >&2
  echo "text e2e: the scene never became ready" >&2
  exit 1
fi
echo "$ready"

window=$(xdotool search --name '^Quorvel text scene$' 2> /dev/null | head -n 1 || true)
[[ -n "$window" ]] || { echo "text e2e: the scene's window cannot be found" >&2; exit 1; }
info=$(xdotool getwindowgeometry "$window")
geometry=$(sed -n 's/.*Geometry: //p' <<< "$info")
position=$(sed -n 's/.*Position: \(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\).*/\1/p' <<< "$info")
[[ $geometry == 1024x768 ]] || fail "window is $geometry, want 1024x768"
origin_x=${position%,*}
origin_y=${position#*,}

sleep 0.3
shot="$work_dir/text_scene.png"
import -window root "$shot"
later_shots=()
for pause in 0.3 0.17 0.23; do
  sleep "$pause"
  later_shots+=("$work_dir/text_scene_later${#later_shots[@]}.png")
  import -window root "${later_shots[-1]}"
done

# The checks below only read the screenshots. SIGTERM becomes a close request: the scene ends its
# loop and exits cleanly.
kill -TERM "$scene_pid"
status=0
wait "$scene_pid" || status=$?
scene_pid=""
[[ $status -eq 0 ]] || { fail "exit status $status after SIGTERM"; cat "$log" >&2; }
stop_xvfb

# Every generated font: the sentence, read back line by line.
lines=0
while read -r _ name x y w h; do
  lines=$((lines + 1))
  ((x + w <= 1024)) || fail "[$name] the sentence is $w pixels wide and leaves the screen"
  ocr_expect "$name" $((x - 8)) $((y - 6)) $((w + 16)) $((h + 12)) "$h" "$sentence"
done < <(grep '^line ' "$log")
((lines >= 6)) || fail "only $lines fonts were drawn, want the catalogue's 6"

# The panels: fill inside (also near the stretched edges), background well outside.
first=1
for frame in "${frames[@]}"; do
  read -r cx cy fw fh <<< "$frame"
  expect_pixel "$shot" $((origin_x + cx)) $((origin_y + cy - 25)) "$panel_fill" 6 || fail "panel at ($cx,$cy): no fill in the middle"
  expect_pixel "$shot" $((origin_x + cx + fw / 2 - 22)) $((origin_y + cy)) "$panel_fill" 6 || fail "panel at ($cx,$cy): no fill by the right edge"
  expect_pixel "$shot" $((origin_x + cx)) $((origin_y + cy + fh / 2 - 22)) "$panel_fill" 6 || fail "panel at ($cx,$cy): no fill by the lower edge"
  expect_pixel "$shot" $((origin_x + cx + fw / 2 + 10)) $((origin_y + cy)) "$background" 4 || fail "panel at ($cx,$cy): drawn beyond its width"
  expect_pixel "$shot" $((origin_x + cx)) $((origin_y + cy + fh / 2 + 10)) "$background" 4 || fail "panel at ($cx,$cy): drawn beyond its height"
  if ((first)); then
    # The caption is centred on the wide panel through a font reference.
    ocr_expect caption $((cx - 100)) $((cy - 20)) 200 40 26 "$caption"
    first=0
  fi
done

# The animation and the particles are drawn, and move.
read -r ax ay aw ah <<< "${coin_box[*]}"
share=$(ink_share "$shot" $((ax - aw)) $((ay - ah)) $((2 * aw)) $((2 * ah)))
awk -v s="$share" 'BEGIN { exit !(s > 0.2) }' || fail "the coin animation covers $share of its box"
changed=$(changed_pixels $((ax - aw)) $((ay - ah)) $((2 * aw)) $((2 * ah)))
((changed > 20)) || fail "the coin animation did not change between the shots ($changed pixels)"
echo "coin: covers $share of its box, $changed pixels changed"

read -r px py pw ph <<< "${particle_box[*]}"
share=$(ink_share "$shot" $((px - pw)) $((py - ph)) $((2 * pw)) $((2 * ph)))
awk -v s="$share" 'BEGIN { exit !(s > 0.01) }' || fail "the particles cover $share of their box"
changed=$(changed_pixels $((px - pw)) $((py - ph)) $((2 * pw)) $((2 * ph)))
((changed > 20)) || fail "the particles did not move between the shots ($changed pixels)"
echo "particles: cover $share of their box, $changed pixels changed"

if ((failures > 0)); then
  echo "text e2e: $failures check(s) failed; screenshots in $work_dir" >&2
  exit 1
fi
echo "text e2e: ok"
