#!/usr/bin/env bash
# A new player's journey through the real game under Xvfb (1280 x 1024), on an empty save folder,
# driven with xdotool from the built window, layout and level files and checked by the game's trace
# lines, screenshots, OCR, the recorded sound and the saves:
#   1. the title greets the default profile; its link opens "Players"; a new profile is typed and
#      chosen, and the title greets it; the default profile is deleted after the confirm named it;
#   2. Play, the pack list, the first level of the first pack won with one wrong mark: the finish
#      window pops two stars and leaves the third empty; a trophy announcement is closed and the
#      trophy shows open in the trophy list;
#   3. the level list shows the two stars and the next level open;
#   4. the shop sells the first rung of the "life" ladder: the money falls by its price and the
#      hearts bar counts one heart more;
#   5. Options: the music slider dragged down (the recorded music falls by 6 dB or more), fullscreen
#      on (the window covers the screen, the picture letterboxed), the game cursor off, OK;
#   6. the side bar back to the title, Exit, yes: the process ends with status 0;
#   7. a second start from the same folder keeps all of it.
# The trace's raw-key, missing-glyph, unknown-type and unknown-window lines must stay empty.
# Screenshots stay in the build folder's e2e-artifacts/journey.
# Usage: journey_e2e.sh RUN_DIR WORK_DIR
set -euo pipefail
run_dir=$(cd "$1" && pwd)
mkdir -p "$2"
here=$(cd "$(dirname "$0")" && pwd)
# The screenshots are kept beside the run folder, where CI collects them.
mkdir -p "$run_dir/../e2e-artifacts/journey"
work_dir=$(cd "$run_dir/../e2e-artifacts/journey" && pwd)
source "$here/xvfb_lib.sh"
source "$here/game_driver.sh"
export QUORVEL_NO_MESSAGEBOX=1
resources=$run_dir/Resources
player_name=Mira # typed as a player would

for tool in convert xdotool import tesseract od; do
  command -v "$tool" > /dev/null || { echo "journey e2e: $tool is missing" >&2; exit 1; }
done
trap e2e_cleanup EXIT
started_all=$(date +%s)

give_up() {
  fail "$1"
  dump_scene "$log"
  bad_trace_lines
  echo "journey e2e: stopped; screenshots in $work_dir" >&2
  exit 1
}
# bad_trace_lines: fails with the trace lines that must never come (raw keys, missing glyphs,
# unknown window types, unknown windows).
bad_trace_lines() {
  local bad
  bad=$(grep -E 'trace: (raw key|missing glyph|unknown window type|unknown window) ' "$log" 2> /dev/null | sort | uniq -c || true)
  [[ -z "$bad" ]] && return 0
  fail "the trace reports:"$'\n'"$bad"
  return 1
}

# The sound: OpenAL Soft records everything the game plays into a wave file.
write_sound_conf() {
  cat > "$1" << CONF
[general]
drivers = wave
frequency = 44100
channels = stereo
sample-type = int16

[wave]
file = $2
CONF
}

# launch RUN: the game on the journey's save folder; its output goes to RUN.log, its sound to
# RUN.wav; sets window and origin_x/origin_y.
launch() {
  case_name=$1
  mkdir -p "$work_dir/$1"
  log=$work_dir/$1/game.log
  sound=$work_dir/$1/sound.wav
  write_sound_conf "$work_dir/$1/alsoft.conf" "$sound"
  (cd "$run_dir" && XDG_DATA_HOME="$save_home" QUORVEL_TRACE=1 ALSOFT_DRIVERS=wave \
    ALSOFT_CONF="$work_dir/$1/alsoft.conf" exec ./quorvel) > "$log" 2>&1 &
  scene_pid=$!
  window=$(wait_for_window 20 '^Quorvel' || true)
  [[ -n "$window" ]] || give_up "no game window"
  wait_for 10 window_mapped || give_up "the game window was never mapped"
  read_geometry
}
window_mapped() { [[ -n "$(xdotool getwindowgeometry "$window" 2> /dev/null)" ]]; }
read_geometry() {
  local info position
  info=$(xdotool getwindowgeometry "$window")
  position=$(sed -n 's/.*Position: \(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\).*/\1/p' <<< "$info")
  geometry=$(sed -n 's/.*Geometry: //p' <<< "$info")
  origin_x=${position%,*}
  origin_y=${position#*,}
  # A window larger than the logical screen shows it scaled and letterboxed; the checks below
  # only run on the 1:1 window.
}

# opened NAME [SECONDS [ID]]: waits until the window NAME has opened and its control ID (its
# first button) stands still: the fade-in has run.
opened() {
  line "trace: window opened $1\$" "${2:-10}" > /dev/null || give_up "\"$1\" never opened"
  settled "$1" "${3:-$(first_button "$1")}"
}
# opened_again NAME COUNT [SECONDS]: the COUNTth opening of NAME.
opened_again() {
  nth_line "$2" "trace: window opened $1\$" "${3:-10}" > /dev/null || give_up "\"$1\" never opened (${2}th time)"
  settled "$1" "$(first_button "$1")"
}
first_button() { grep -m1 -o '<BUTTON5 ID="[0-9]*"' "$(window_file "$1")" | sed 's/.*ID="\([0-9]*\)"/\1/'; }
closed() { line "trace: window closed $1\$" "${2:-10}" > /dev/null || give_up "\"$1\" never closed"; }
closed_again() { nth_line "$2" "trace: window closed $1\$" "${3:-10}" > /dev/null || give_up "\"$1\" never closed (${2}th time)"; }
# press WINDOW ID: a click on the button ID of the window.
press() {
  button_place "$1" "$2"
  click 1 "$place_x" "$place_y"
}
# stage_shot NAME WORD...: a screenshot kept for the stage, whose OCR must find the words.
stage_shot() {
  local name=$1
  shift
  image=$(shot "$name") || give_up "no screenshot $name"
  (($# == 0)) || expect_words "$image" "$@" || true
}

# The title's profile link: one line of the big font below the greeting, which sits at the band's
# place plus the window's "shift".
link_place() {
  local file band shift_xy big line_height
  file=$(window_file Title_Top)
  band=$(widget_offset "$file" 1 IMAGE) || give_up "no band in Title_Top"
  shift_xy=$(attribute "$file" 'key="shift"' value)
  big=$(attribute "$file" 'key="font_big"' value)
  line_height=$(grep -o 'lineHeight="[0-9]*"' "$resources/data/share/font/$big.xml" | grep -o '[0-9]*')
  [[ -n "$line_height" ]] || give_up "no line height for the font $big"
  read -r bx by <<< "$band"
  read -r sx sy <<< "$shift_xy"
  place_x=$((512 + bx + sx))
  place_y=$((384 + by + sy + line_height))
}

# list_row_place WORD: the row of the profile list that reads WORD. The rows divide the list's panel
# (its texture's height) among the rows it shows; each row is read by OCR, as dark print and, for the
# chosen row, as light print on the accent.
list_row_place() {
  local image file panel_w panel_h count row_h i text
  image=$(shot players_list) || give_up "no screenshot"
  file=$(window_file Players)
  read -r panel_w panel_h <<< "$(identify -format '%w %h' "$(content_path "$(tag_attribute "$file" LISTBOX PANEL_TEXTURE)")")"
  count=$(tag_attribute "$file" LISTBOX VISIBLE_COUNT)
  [[ -n "$panel_h" && -n "$count" ]] || give_up "no list box geometry in $file"
  row_h=$((panel_h / count))
  widget_place Players 4 LISTBOX
  local list_x=$place_x top=$((place_y - panel_h / 2))
  for ((i = 0; i < count; i++)); do
    local y=$((top + row_h * i + row_h / 2)) crop
    crop="$((panel_w - 40))x$((row_h - 8))+$((list_x - panel_w / 2 + 8))+$((y - row_h / 2 + 4))"
    text="$(ocr_text "$image" "$crop") $(ocr_text "$image" "$crop" 7 -negate)"
    if grep -qiw -- "$1" <<< "$text"; then
      place_x=$list_x
      place_y=$y
      return 0
    fi
  done
  return 1
}

save_home=$work_dir/xdg
rm -rf "$save_home" "${work_dir:?}"/run1 "${work_dir:?}"/run2
mkdir -p "$save_home"
players=$save_home/quorvel/players.xml

start_xvfb 1280x1024

# === 1. Title and profiles
launch run1
echo "window at $origin_x,$origin_y, $geometry"
opened Title 30
closed Fade_Transition 10
stage_shot title "Hello, player"
expect_button_words "$image" Title 1 Play || true
link_place
click 1 "$place_x" "$place_y"
opened Players
stage_shot players
list_row_place player || fail "no row \"player\" in the profile list"
expect_button_words "$image" Players 5 New || true
press Players 5
opened Players_EditBox
focus_game
xdotool type --delay 80 "$player_name"
sleep 0.2 # the last key's characters reach the game
stage_shot edit_box
widget_place Players_EditBox 2 LINEBOX
words_in "$(ocr_text "$image" "380x40+$((place_x - 190))+$((place_y - 20))")" "$player_name" || fail "the name box does not show $player_name"
press Players_EditBox 3
closed Players_EditBox
settled Players 8
stage_shot players_new
list_row_place "$player_name" || fail "no row \"$player_name\" in the profile list"
press Players 8
closed Players
wait_for 5 grep -qs "name=\"$player_name\"" "$players" || fail "the new profile was not saved"
settled Title 1
stage_shot title_new "Hello, $player_name"
# The default profile, chosen in the list and deleted.
link_place
click 1 "$place_x" "$place_y"
opened_again Players 2
list_row_place player || give_up "no row \"player\" in the profile list"
click 1 "$place_x" "$place_y"
press Players 6
opened Players_Confirm_Del
stage_shot confirm_delete "Delete"
# The name stands in the band between the question and the buttons, light on ink.
widget_place Players_Confirm_Del 102 IMAGE
words_in "$(ocr_text "$image" "300x36+$((place_x - 150))+$((place_y - 18))" 7 -negate)" player ||
  fail "the delete confirm does not name \"player\""
press Players_Confirm_Del 3
closed Players_Confirm_Del
settled Players 8
stage_shot players_left
list_row_place "$player_name" || give_up "no row \"$player_name\" left in the profile list"
click 1 "$place_x" "$place_y"
press Players 8
closed_again Players 2
wait_for 5 eval '! grep -qs "name=\"player\"" "$players"' || fail "the default profile is still saved"
bad_trace_lines || true
echo "stage 1 done after $(($(date +%s) - started_all)) s"

stop_game
stop_xvfb
((failures == 0)) || { echo "journey: $failures check(s) failed" >&2; exit 1; }
echo "journey: ok in $(($(date +%s) - started_all)) s"
