#!/usr/bin/env bash
# Draws the generated fonts, an animation, the nine-part panel at two sizes and a particle effect
# through the real OpenGL device under Xvfb (e2e_text_scene), then checks a screenshot and later
# ones, taken until the animation and the particles have moved: OCR (tesseract) must read the
# sentence back from every font and the caption from the panel, the panels must show their fill
# inside and nothing outside, and the animation and the particles must be drawn and moving.
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

# ink_share IMAGE CX CY HALF_W HALF_H: share of the box's pixels that differ from the background
# (0..1).
ink_share() {
  local image=$1 x=$(($2 - $4)) y=$(($3 - $5)) w=$((2 * $4)) h=$((2 * $5))
  crop "$image" "$x" "$y" "$w" "$h" "$work_dir/ink.png"
  convert "$work_dir/ink.png" -fuzz 4% -fill black -opaque "#$background" -fill white +opaque black \
    -colorspace Gray -format "%[fx:mean]" info:
}

# The larger of two shares.
larger() { awk -v a="$1" -v b="$2" 'BEGIN { print (b > a ? b : a) }'; }
# above SHARE LIMIT: whether the share exceeds the limit.
above() { awk -v s="$1" -v l="$2" 'BEGIN { exit !(s > l) }'; }

# changed_in LATER CX CY HALF_W HALF_H: the number of pixels of the box that differ between the
# first shot and LATER.
changed_in() {
  local later=$1 x=$(($2 - $4)) y=$(($3 - $5)) w=$((2 * $4)) h=$((2 * $5)) count
  crop "$shot" "$x" "$y" "$w" "$h" "$work_dir/before.png"
  crop "$later" "$x" "$y" "$w" "$h" "$work_dir/after.png"
  count=$(compare -metric AE -fuzz 2% "$work_dir/before.png" "$work_dir/after.png" null: 2>&1 || true)
  count=${count%%.*}
  [[ "$count" =~ ^[0-9]+$ ]] || count=0
  echo "$count"
}

# ocr_expect LABEL X Y W H TEXT_HEIGHT EXPECTED: reads one line of text and wants every word of
# EXPECTED in it. The crop is scaled so the line is about 50 pixels high, where tesseract reads best,
# and cut to black and white at half grey, which leaves the ink and drops the title faces' soft shadow.
ocr_expect() {
  local label=$1 x=$2 y=$3 w=$4 h=$5 text_height=$6 expected=$7
  local scale=$((5000 / text_height))
  ((scale < 100)) && scale=100
  crop "$shot" "$x" "$y" "$w" "$h" "$work_dir/ocr_$label.png"
  convert "$work_dir/ocr_$label.png" -resize "$scale%" -colorspace Gray -threshold 50% "$work_dir/ocr_$label.png"
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

ready=$(wait_for_line 30 "$log" '^ready:' || true)
if [[ -z "$ready" ]]; then
  cat "$log" >&2
  echo "text e2e: the scene never became ready" >&2
  exit 1
fi
echo "$ready"

window=$(wait_for_window 5 '^Quorvel text scene$' || true)
[[ -n "$window" ]] || { echo "text e2e: the scene's window cannot be found" >&2; exit 1; }
info=$(xdotool getwindowgeometry "$window")
geometry=$(sed -n 's/.*Geometry: //p' <<< "$info")
position=$(sed -n 's/.*Position: \(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\).*/\1/p' <<< "$info")
[[ $geometry == 1024x768 ]] || fail "window is $geometry, want 1024x768"
origin_x=${position%,*}
origin_y=${position#*,}

# The first shot once the wide panel shows its fill. Then later shots until the coin (which is
# narrow in some frames of its spin) has covered a fifth of its box in some shot, the particles a
# hundredth of theirs, and both have moved since the first shot; when the time is up first, the
# checks below say what did not happen.
shot="$work_dir/text_scene.png"
panel_drawn() {
  local cx cy
  read -r cx cy _ <<< "${frames[0]}"
  import -window root "$shot" &&
    expect_pixel "$shot" $((origin_x + cx)) $((origin_y + cy - 25)) "$panel_fill" 6 2> /dev/null
}
wait_for 10 panel_drawn || true
# A looping animation can show the first shot's frame again after exactly one period, but not in
# every later shot: what counts is the largest change.
coin_share=$(ink_share "$shot" "${coin_box[@]}")
particle_share=$(ink_share "$shot" "${particle_box[@]}")
coin_changed=0
particles_changed=0
later_shots=0
drawn_and_moving() {
  local later="$work_dir/text_scene_later$later_shots.png"
  import -window root "$later" || return 1
  later_shots=$((later_shots + 1))
  coin_share=$(larger "$coin_share" "$(ink_share "$later" "${coin_box[@]}")")
  particle_share=$(larger "$particle_share" "$(ink_share "$later" "${particle_box[@]}")")
  coin_changed=$(larger "$coin_changed" "$(changed_in "$later" "${coin_box[@]}")")
  particles_changed=$(larger "$particles_changed" "$(changed_in "$later" "${particle_box[@]}")")
  above "$coin_share" 0.2 && above "$particle_share" 0.01 && ((coin_changed > 20 && particles_changed > 20))
}
wait_for 10 drawn_and_moving || true

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

# The animation and the particles are drawn (at their fullest in any shot), and move.
above "$coin_share" 0.2 || fail "the coin animation covers at most $coin_share of its box"
((coin_changed > 20)) || fail "the coin animation did not change between the shots ($coin_changed pixels)"
echo "coin: covers up to $coin_share of its box, $coin_changed pixels changed ($later_shots later shots)"

above "$particle_share" 0.01 || fail "the particles cover at most $particle_share of their box"
((particles_changed > 20)) || fail "the particles did not move between the shots ($particles_changed pixels)"
echo "particles: cover up to $particle_share of their box, $particles_changed pixels changed"

if ((failures > 0)); then
  echo "text e2e: $failures check(s) failed; screenshots in $work_dir" >&2
  exit 1
fi
echo "text e2e: ok"
