#!/usr/bin/env bash
# A new player's journey through the real game under Xvfb (1280 x 1024), on an empty save folder,
# driven with xdotool from the built window, layout and level files and checked by the game's trace
# lines, screenshots, OCR, the recorded sound and the saves:
#   1. the title greets the default profile; its link opens "Players"; a new profile is typed and
#      chosen, and the title greets it; the default profile is deleted after the confirm named it;
#   2. Play, the side bar's tutorials: both tutorial packs played level by level as their steps
#      lead (cells marked with the right tool, Next, reset, hint, the shop), one wrong mark taken
#      back with a flash; the last lesson's start button starts the game;
#   3. the first level of the first pack won with one wrong mark: the finish window pops two stars
#      and leaves the third empty; the trophies announced so far are closed, and the first of them
#      shows open in the trophy list;
#   4. the level list shows the two stars and the next level open; level 2 left through the pause
#      menu costs a heart; the shop buys the first extra heart: the money falls by its price and
#      the hearts bar counts one heart more than the old maximum;
#   5. Options: the music slider dragged down (the recorded music falls by 6 dB or more), then the
#      sound slider to its end and the music slider to its start (a full and an empty track, saved
#      as 100 and 0), fullscreen on (the window covers the screen, the picture letterboxed), the
#      game cursor off (the switches grey when off, accent when on), OK;
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
  # What the screen showed when the run stopped, kept with the others.
  shot gave_up > /dev/null 2>&1 || true
  dump_scene "$log"
  bad_trace_lines
  echo "journey e2e: stopped; screenshots in $work_dir" >&2
  exit 1
}
# bad_trace_lines: fails with the trace lines that must never come (raw keys, missing glyphs,
# unknown window types, unknown windows) in this run's log.
bad_trace_lines() {
  local before=$failures
  expect_clean_trace "$log"
  ((failures == before))
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
  local wx=${position%,*} wy=${position#*,} ww=${geometry%x*} wh=${geometry#*x}
  # A window larger than the logical screen shows it scaled to fit, centred between borders.
  scale_pct=$((ww * 100 / 1024 < wh * 100 / 768 ? ww * 100 / 1024 : wh * 100 / 768))
  ((scale_pct >= 100)) || scale_pct=100
  origin_x=$((wx + (ww - 1024 * scale_pct / 100) / 2))
  origin_y=$((wy + (wh - 768 * scale_pct / 100) / 2))
}

# opened NAME [SECONDS [ID]]: waits until the window NAME has opened and its control ID (its
# first button) stands still: the fade-in has run.
opened() {
  line "trace: window opened $1\$" "${2:-10}" > /dev/null || give_up "\"$1\" never opened"
  settled "$1" "${3:-$(first_button "$1")}"
}
# opened_again NAME COUNT [SECONDS [ID]]: the COUNTth opening of NAME.
opened_again() {
  nth_line "$2" "trace: window opened $1\$" "${3:-10}" > /dev/null || give_up "\"$1\" never opened (${2}th time)"
  settled "$1" "${4:-$(first_button "$1")}"
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
widget_place Players_EditBox 2 LINEBOX
# The caret blinks beside the last letter and can read as one: a few looks, each a new screenshot.
name_in_box() {
  image=$(shot edit_box) &&
    words_in "$(ocr_text "$image" "380x40+$((place_x - 190))+$((place_y - 20))")" "$player_name"
}
wait_for 5 name_in_box || fail "the name box does not show $player_name"
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


# === 2. Play, the tutorial packs as their steps lead
reward=$(attribute "$(window_file Title_Top)" 'key="text_color_highlight"' value) # the gold of stars and links
reward=${reward: -6}
ink=2E3A59   # an opened square
accent=3E8E7E      # the sliders' fill, a switch that is on
track=E8E0D2       # a slider's empty track
switch_grey=B8B2A7 # a switch that is off
# The flash rises to the error colour at a little over half strength and falls back within 0.4 s;
# a screenshot catches some moment of it: any shade from half way up to the top reads as the flash.
flash_seen=E8A0A4
press Title 1
opened Packs 20 1
closed Fade_Transition 10
stage_shot packs "Picture packs"
expect_button_words "$image" Sidebar 8 Tutorials
# The packs' cards: items of a grid, sized as each pack item says.
first_pack=$(find "$resources" -maxdepth 3 -path '*/main/pack_item.xml' | grep -v '/tutorial' | sort | head -n 1)
first_pack=$(basename "$(dirname "$(dirname "$first_pack")")")
read -r card_w card_h <<< "$(tag_attribute "$resources/$first_pack/main/pack_item.xml" pack size)"
pack_count=$(find "$resources" -maxdepth 3 -path '*/main/pack_item.xml' | grep -vc '/tutorial')
tutorial_packs=$(find "$resources" -maxdepth 3 -path '*/main/pack_item.xml' | grep '/tutorial' | sort |
  sed 's|/main/pack_item.xml$||; s|.*/||')
# opens_after NAME BEFORE [SECONDS]: waits for an opening of the window NAME beyond the BEFORE
# openings counted earlier.
opening_count() { lines_of "trace: window opened $1\$"; }
opens_after() {
  nth_line $(($2 + 1)) "trace: window opened $1\$" "${3:-10}" > /dev/null || give_up "\"$1\" never opened again (after $2)"
}
# dismiss_trophies: closes every trophy announcement that has opened and not closed yet, keeping the
# trophies' names in trophies_won and the bonus each announced in trophy_bonuses, both read by OCR
# from the announcement's panel.
trophies_won=()
trophy_bonuses=()
announced() { echo $(($(opening_count Trophy_Get) - $(lines_of 'trace: window closed Trophy_Get$'))); }
# note_announcement SHOT: a screenshot of the shown announcement; its name and bonus noted.
note_announcement() {
  local panel panel_w panel_h
  stage_shot "$1" "New trophy"
  read -r panel_w panel_h <<< "$(sed -n 's/.*<SIZE>\([0-9]* [0-9]*\)<\/SIZE>.*/\1/p' "$(window_file Trophy_Get)" | head -n 1)"
  panel=$(ocr_text "$image" "${panel_w}x${panel_h}+$((512 - panel_w / 2))+$((384 - panel_h / 2))" 6)
  trophies_won+=("$(sed -n 's/.*New trophy! *\([A-Z][a-z]* [A-Z][a-z]*\).*/\1/p' <<< "$panel")")
  trophy_bonuses+=("$(grep -o '+ *[0-9][0-9]*' <<< "$panel" | head -n 1 | tr -dc '0-9' || true)")
  echo "trophy announced: ${trophies_won[-1]:-?} (+${trophy_bonuses[-1]:-?})"
}
dismiss_trophies() {
  local closed_before
  while (($(announced) > 0)); do
    closed_before=$(lines_of 'trace: window closed Trophy_Get$')
    settled Trophy_Get 1
    note_announcement "trophy_$((closed_before + 1))"
    press Trophy_Get 1
    closed_again Trophy_Get $((closed_before + 1))
  done
}
# trophy_key NAME: the string key of a trophy's shown name.
trophy_key() {
  grep -o "<Data ss:Type=\"String\">[a-z0-9_]*</Data></Cell><Cell><Data ss:Type=\"String\">$1<" \
    "$resources/data/en/strings.xml" | sed -n 's/^<Data ss:Type="String">\([a-z0-9_]*\)<.*/\1/p' | head -n 1
}
# gameplay_control KEY: the place of one of the board's own buttons (hint, reset, store, pause).
gameplay_control() {
  local file
  file=$resources/$(attribute "$resources/data/share/main/other/gameplay.xml" "key=\"$1\"" value | sed 's| |/|')
  read -r place_x place_y _ <<< "$(sed -n 's/.*<TRANSFORM>\([^<]*\)<.*/\1/p' "$file")"
  [[ -n "$place_y" ]] || give_up "no place for $1 in $file"
}
# level_over: the level started last has been won or lost.
level_over() {
  grep -E 'trace: level (started|won|lost) ' "$log" 2> /dev/null | tail -n 1 | grep -qE 'level (won|lost) '
}
# mark_cell INDEX: the cell marked as the picture wants it: a square (left button) on a cell of the
# picture, a cross (right button) on any other; an announcement in the way is closed first.
mark_cell() {
  dismiss_trophies
  # A level won by an earlier cell has every picture cell open, and its finish window may already
  # cover this one: a click there would land on the window's buttons.
  level_over && return 0
  if [[ " ${picture[*]} " == *" $1 "* ]]; then
    cell_open "$1" && return 0 # the hint or a demonstration opened it
    # The level's last cell wins it, and the win's sweep runs over the board at once: a win counts
    # as the cell opened.
    opened_or_won() { level_over || cell_open "$1"; }
    click 1 "${cell_x[$1]}" "${cell_y[$1]}"
    wait_for 5 opened_or_won "$1" || {
      dismiss_trophies
      click 1 "${cell_x[$1]}" "${cell_y[$1]}"
      wait_for 5 opened_or_won "$1"
    } || {
      shot "cell_not_opened_$1" > /dev/null || true
      fail "cell $(($1 % cols)) $(($1 / cols)) did not open (screenshot cell_not_opened_$1.png)"
    }
  else
    click 3 "${cell_x[$1]}" "${cell_y[$1]}"
  fi
}
# demo_time STEP_FILE: seconds until the step's own demonstration on the board has played: its
# last start message's delay and one second for the move it shows.
demo_time() {
  grep -o '<message value="[^"]*" delay="[0-9.]*"' "$1" | sed 's/.*delay="//; s/"//' |
    awk 'BEGIN { m = -1 } { if ($1 > m) m = $1 } END { print (m < 0 ? 0 : m + 1.0) }'
}
# wrong_mark FILE CELL: a cross on a cell of the picture during a cell step: taken back, and the
# step's error image flashes in the error colour (kept as tutorial_wrong_mark.png).
wrong_mark() {
  local error_id flashed=0 attempt
  error_id=$(attribute "$1" '<param key="error_id"' value)
  click 3 "${cell_x[$2]}" "${cell_y[$2]}"
  widget_place "$1" "$error_id" IMAGE
  for attempt in 1 2 3 4 5 6; do
    image=$(shot "wrong_mark_$attempt") || continue
    if (($(count_near "$image" "$place_x" "$place_y" 60 "$flash_seen" 60) > 200)); then
      flashed=1
      break
    fi
  done
  echo "tutorial wrong mark in $(tag_attribute "$1" window _name): flashed $flashed"
  ((flashed)) && cp "$image" "$work_dir/tutorial_wrong_mark.png"
  ((flashed)) || fail "the step did not flash at the wrong mark"
}
wrong_shown=""
# play_step FILE: one step of a tutorial level, done as it asks.
play_step() {
  local file=$1 name next start cells actions action cell
  name=$(tag_attribute "$file" window _name)
  next=$(attribute "$file" '<param key="button_next"' value) || true
  start=$(attribute "$file" '<param key="button_start_game"' value) || true
  cells=$(attribute "$file" '<elements ' value) || true
  actions=$(grep -o '<action value="[^"]*"' "$file" | sed 's/.*value="//; s/"$//' || true)
  # A step that waits in the queue comes after any announcement before it.
  local deadline=$((SECONDS + 30))
  until grep -qs "trace: window opened $name\$" "$log"; do
    ((SECONDS < deadline)) || give_up "the step \"$name\" never opened"
    dismiss_trophies
    wait_for 1 grep -qs "trace: window opened $name\$" "$log" || true
  done
  sleep "$(demo_time "$file")"
  dismiss_trophies
  if [[ -n "$next$start" ]]; then
    settled "$file" "${next:-$start}"
    press "$file" "${next:-$start}"
  elif [[ -n "$cells" ]]; then
    local indices=() c r
    while read -r c r; do indices+=($((r * cols + c))); done <<< "$(tr '|' '\n' <<< "$cells")"
    if [[ -z "$wrong_shown" && " ${picture[*]} " == *" ${indices[0]} "* ]]; then
      wrong_shown=$name
      wrong_mark "$file" "${indices[0]}"
    fi
    for cell in "${indices[@]}"; do mark_cell "$cell"; done
  else
    for action in $actions; do
      case $action in
        use_reset) gameplay_control reset_selection && click 1 "$place_x" "$place_y" ;;
        use_hint) gameplay_control hint_button && click 1 "$place_x" "$place_y" ;;
        use_store)
          # The store button takes the hint button's place once the hints are gone: the pointer
          # leaves and comes back, as a hand would, so that the new button sees it arrive.
          gameplay_control store_button
          local shop_before
          shop_before=$(opening_count Shop)
          click 1 $((place_x - 120)) "$place_y"
          click 1 "$place_x" "$place_y"
          opens_after Shop "$shop_before" 10
          settled Shop 1
          stage_shot tutorial_shop "Shop"
          ;;
        close_store) press Shop 1 ;;
        level_did_complete) for cell in "${picture[@]}"; do mark_cell "$cell"; done ;;
        *) give_up "the step \"$name\" asks for \"$action\", which the journey does not know" ;;
      esac
    done
  fi
}
tutorial_question_before=$(opening_count GP_Tutorial_Question)
last_tutorial=$(tail -n 1 <<< "$tutorial_packs")
steps_done=0
# The side bar opens the tutorial packs; after a pack's last lesson its finish window goes back there.
tutorial_before=$(opening_count Tutorial)
press Sidebar 8
for pack in $tutorial_packs; do
  opens_after Tutorial "$tutorial_before" 20
  tutorial_before=$(opening_count Tutorial)
  settled Tutorial 1
  ((steps_done > 0)) || stage_shot tutorial_packs
  index=$(grep -n "^$pack\$" <<< "$tutorial_packs" | cut -d: -f1)
  grid_item_place "$(content_path "$(tag_attribute "$(window_file Tutorial)" pages file)")" $((index - 1)) \
    "$(wc -l <<< "$tutorial_packs")" "$card_w" "$card_h"
  levels_before=$(opening_count Levels)
  click 1 "$place_x" "$place_y"
  opens_after Levels "$levels_before" 10
  settled Levels 1
  level_grid=$resources/$pack/main/pages.xml
  level_count=$(grep -c '<level ' "$level_grid")
  read -r item_w item_h <<< "$(tag_attribute "$level_grid" level size)"
  sleep 0.3 # the items' own fade-in
  grid_item_place "$level_grid" 0 "$level_count" "$item_w" "$item_h"
  click 1 "$place_x" "$place_y"
  for ((n = 1; n <= level_count; n++)); do
    level=$(printf 'level%02d' "$n")
    won_before=$(lines_of 'trace: level won ')
    finish_before=$(opening_count Tutorial_Finish)
    line "trace: level started $pack.$level" 20 > /dev/null || give_up "the lesson $pack.$level never started"
    read_level "$pack" "$level"
    for file in $(find "$resources/$pack/tutorial/$level" -maxdepth 1 -name 'step*.xml' | LC_ALL=C sort); do
      play_step "$file"
      steps_done=$((steps_done + 1))
    done
    nth_line $((won_before + 1)) 'trace: level won ' 20 > /dev/null || give_up "the lesson $pack.$level was never won"
    # The last lesson's last step started the game: its finish window stays away.
    [[ "$pack" == "$last_tutorial" && $n == "$level_count" ]] && break
    while (($(opening_count Tutorial_Finish) <= finish_before)); do
      dismiss_trophies
      wait_for 1 eval '(($(opening_count Tutorial_Finish) > finish_before))' || true
    done
    settled Tutorial_Finish 1
    ((n > 1)) || stage_shot "tutorial_finish_$pack"
    press Tutorial_Finish 1 # next: the next lesson, or after the last the tutorial packs
    closed_again Tutorial_Finish $((finish_before + 1))
  done
done
echo "tutorial: $steps_done steps of $(wc -l <<< "$tutorial_packs") packs played; wrong mark in $wrong_shown"
[[ -n "$wrong_shown" ]] || fail "no cell step took a wrong mark"
for file in $(find "$resources"/tutorial*/tutorial -name 'step*.xml' | LC_ALL=C sort); do
  step_name=$(tag_attribute "$file" window _name)
  grep -q "trace: window opened $step_name\$" "$log" || fail "the step $step_name never opened"
done
bad_trace_lines || true
echo "stage 2 done after $(($(date +%s) - started_all)) s"

# === 3. The first level of the first pack, won with one wrong mark
line "trace: level started $first_pack.level01" 20 > /dev/null || give_up "the first level never started"
((tutorial_question_before == $(opening_count GP_Tutorial_Question))) ||
  fail "the tutorial question came although the tutorials were played"
level_grid=$resources/$first_pack/main/pages.xml
level_count=$(grep -c '<level ' "$level_grid")
read -r item_w item_h <<< "$(tag_attribute "$level_grid" level size)"
# level_place INDEX: the centre of a level's item in the pack's level grid.
level_place() { grid_item_place "$level_grid" "$1" "$level_count" "$item_w" "$item_h"; }
dismiss_trophies
opened GP_Start 10
stage_shot start_window "Level 1"
press GP_Start 1
closed GP_Start
read_level "$first_pack" level01
((cols == 5 && rows == 5)) || fail "the first level is $cols x $rows, want 5 x 5"
# play_level WRONG: every picture cell opened by a left click, after WRONG clicks on cells that lie
# outside the picture.
play_level() {
  local wrong=$1 i
  for ((i = 0; i < cols * rows && wrong > 0; i++)); do
    [[ " ${picture[*]} " == *" $i "* ]] && continue
    click 1 "${cell_x[$i]}" "${cell_y[$i]}"
    wrong=$((wrong - 1))
  done
  local clicked=0
  for i in "${picture[@]}"; do
    cell_open "$i" && continue # a bonus cell the level opened itself
    click 1 "${cell_x[$i]}" "${cell_y[$i]}"
    wait_for 5 cell_open "$i" || fail "cell $((i % cols)) $((i / cols)) did not open"
    clicked=$((clicked + 1))
    if ((clicked == ${#picture[@]} / 2)); then shot in_play > /dev/null; fi
  done
  return 0
}
won_before=$(lines_of 'trace: level \(won\|lost\)')
play_level 1
won=$(nth_line $((won_before + 1)) 'trace: level \(won\|lost\)' 20) || give_up "the level never ended"
echo "${won#*trace: }"
[[ "${won#*trace: }" =~ ^level\ won\ errors\ 1\ time ]] || fail "want a win with 1 error: $won"
# close_trophies: every trophy announcement that comes before the finish window is closed; the
# names of the trophies are kept in trophies_won.
close_trophies() {
  local seen=$(lines_of 'trace: window opened Trophy_Get$') want=$1
  while true; do
    wait_for 20 eval "(( \$(lines_of 'trace: window opened \\(Trophy_Get\\|$want\\)\$') > seen + \$(lines_of 'trace: window opened $want\$') ))" ||
      wait_for 1 grep -qs "trace: window opened $want\$" "$log" || give_up "neither a trophy nor \"$want\" came"
    (($(lines_of 'trace: window opened Trophy_Get$') > seen)) || break
    seen=$((seen + 1))
    settled Trophy_Get 1
    note_announcement "trophy_$seen"
    press Trophy_Get 1
    closed_again Trophy_Get "$seen"
  done
}
close_trophies GP_Finish
settled GP_Finish 1
# The stars pop one after another: after all three have had their time, the first two are gold
# and the third is the empty outline.
star_time=$(attribute "$(window_file GP_Finish)" 'key="star_time"' value)
sleep "$(awk -v t="$star_time" 'BEGIN { print t * 4 }')"
stage_shot finish "Level 1" "Mistakes"
stars_gold=""
for id in $(attribute "$(window_file GP_Finish)" 'key="star_one"' value) \
  $(attribute "$(window_file GP_Finish)" 'key="star_two"' value) \
  $(attribute "$(window_file GP_Finish)" 'key="star_three"' value); do
  widget_place GP_Finish "$id" IMAGE
  if (($(count_near "$image" "$place_x" "$place_y" 16 "$reward" 40) > 200)); then stars_gold+=1; else stars_gold+=0; fi
done
echo "finish window stars: $stars_gold"
[[ "$stars_gold" == 110 ]] || fail "the finish window shows stars $stars_gold, want 110 (two gold, one empty)"
cp "$image" "$work_dir/finish_window.png"
cp "$work_dir/$case_name/in_play.png" "$work_dir/level_in_play.png" 2> /dev/null || true
echo "trophies: ${trophies_won[*]:-none}"

# === 3. The level list: two stars on the level, the next one open
levels_before=$(opening_count Levels)
fades_before=$(lines_of 'trace: window closed Fade_Transition$')
press GP_Finish 3
opens_after Levels "$levels_before" 10
settled Levels 1
closed_again Fade_Transition $((fades_before + 1)) 10
sleep 0.3 # the items' own fade-in
stage_shot levels_after
level_place 0
stars_shown=""
for dx in -28 0 28; do
  if (($(count_near "$image" $((place_x + dx)) $((place_y + 28)) 8 "$reward" 40) > 40)); then stars_shown+=1; else stars_shown+=0; fi
done
echo "level list stars: $stars_shown"
[[ "$stars_shown" == 110 ]] || fail "the level list shows stars $stars_shown on level 1, want 110"
# The next level's item looks like the first (open), not like the third (closed).
item_look() { level_place "$1"; pixel_of "$image" "$(screen_x $((place_x - item_w / 2 + 12)))" "$(screen_y $((place_y - item_h / 2 + 12)))"; }
[[ "$(item_look 1)" == "$(item_look 0)" && "$(item_look 1)" != "$(item_look 2)" ]] ||
  fail "level 2 does not look open ($(item_look 0) $(item_look 1) $(item_look 2))"
[[ "$(level_param "$players" "$first_pack.level01" stars)" == 2 ]] || fail "the save does not hold two stars for level 1"

# A new player's money does not reach the shop's first extra heart (the tutorial packs and more
# levels earn it): the journey leaves level 2 through the pause menu instead, which costs a heart,
# and buys the heart back with the shop's refill.
hearts_full=$(health_count "$players")
level_place 1
click 1 "$place_x" "$place_y"
nth_line 1 "trace: level started $first_pack.level02" 20 > /dev/null || give_up "level 2 never started"
opened_again GP_Start 2 10
press GP_Start 1
closed_again GP_Start 2
pause_button=$resources/$(attribute "$resources/data/share/main/other/gameplay.xml" 'key="pause_button"' value | sed 's| |/|')
read -r pause_x pause_y _ <<< "$(sed -n 's/.*<TRANSFORM>\([^<]*\)<.*/\1/p' "$pause_button")"
[[ -n "$pause_y" ]] || give_up "no place for the pause button in $pause_button"
click 1 "$pause_x" "$pause_y"
opened GP_Menu 10
stage_shot pause_menu
press GP_Menu 3
opened Confirm_Close_Lvl 10
levels_before=$(opening_count Levels)
fades_before=$(lines_of 'trace: window closed Fade_Transition$')
press Confirm_Close_Lvl 3
opens_after Levels "$levels_before" 20
settled Levels 1
# The side bar comes back with the list; a player's next click waits for the fade to lift and the
# bar to stand still (a click while a window still moves is not taken).
closed_again Fade_Transition $((fades_before + 1)) 10
settled Sidebar 6
wait_for 5 eval '[[ "$(health_count "$players")" == $((hearts_full - 1)) ]]' ||
  fail "leaving the level cost no heart: $(health_count "$players"), was $hearts_full"

# === 4. The shop: the first extra heart (the first step of the "life" ladder) bought with money;
# it raises the maximum by one and fills every heart, the one lost above too.
offer=life
money_before=$(player_value "$players" money)
hearts_before=$(health_count "$players")
price=$(attribute "$resources/data/share/main/other/store.xml" "<item name=\"$offer\"" price)
echo "money $money_before, hearts $hearts_before of $hearts_full, a heart more costs $price"
((money_before >= price)) || fail "money $money_before does not buy a heart at $price"
widget_place Heart 1 WLABEL
heart_label="60x36+$((place_x - 30))+$((place_y - 18))"
shop_before=$(opening_count Shop)
press Sidebar 6
opens_after Shop "$shop_before" 10
settled Shop 1
stage_shot shop "Shop" "More hearts"
widget_place Shop 2 WLABEL
money_label="120x36+$((place_x - 10))+$((place_y - 18))"
shown_before=$(ocr_text "$image" "$money_label" | tr -dc '0-9')
[[ "$shown_before" == "$money_before" ]] || fail "the shop shows money \"$shown_before\", the save $money_before"
# The "life" offer's buy button: its item's place in the shop's grid, the button's in the item.
shop_grid=$(content_path "$(tag_attribute "$(window_file Shop)" gPages file)")
life_index=$(grep -o '<item [^>]*type="[a-z_]*"' "$shop_grid" | grep -n "type=\"$offer\"" | head -n 1 | cut -d: -f1)
read -r offer_w offer_h <<< "$(tag_attribute "$shop_grid" item size)"
grid_item_place "$shop_grid" $((life_index - 1)) "$(grep -c '<item ' "$shop_grid")" "$offer_w" "$offer_h"
read -r bx by <<< "$(widget_offset "$shop_grid" 1 BUTTON5)"
trophies_before=${#trophies_won[@]}
click 1 $((place_x + bx)) $((place_y + by))
wait_for 5 eval '[[ "$(player_value "$players" money)" != "$money_before" ]]' || fail "the purchase took no money"
# The raised hearts may earn a trophy at once, announced over the shop: its bonus comes on top.
sleep 1
dismiss_trophies
bonus=0
for value in "${trophy_bonuses[@]:trophies_before}"; do
  [[ -n "$value" ]] || give_up "a trophy announced over the shop showed no bonus"
  bonus=$((bonus + value))
done
money_want=$((money_before - price + bonus))
wait_for 5 eval '[[ "$(player_value "$players" money)" == "$money_want" ]]' ||
  fail "money after the purchase: $(player_value "$players" money), want $money_want (price $price, trophy bonus $bonus)"
settled Shop 1
stage_shot shop_bought
shown_after=$(ocr_text "$image" "$money_label" | tr -dc '0-9')
echo "shop money label: $shown_before -> $shown_after (price $price, trophy bonus $bonus)"
[[ "$shown_after" == "$money_want" ]] || fail "the money label shows \"$shown_after\" after the purchase, want $money_want"
hearts_after=$(health_count "$players")
[[ "$hearts_after" == $((hearts_full + 1)) ]] || fail "hearts after the purchase: $hearts_after, want $((hearts_full + 1))"
shop_closed_before=$(lines_of 'trace: window closed Shop$')
press Shop 1
closed_again Shop $((shop_closed_before + 1))
settled Sidebar 2
stage_shot hearts_bar
shown_hearts=$(ocr_text "$image" "$heart_label" 7 -negate | tr -dc '0-9')
echo "hearts bar: $shown_hearts"
[[ "$shown_hearts" == "$hearts_after" ]] || fail "the hearts bar shows \"$shown_hearts\", want $hearts_after"
# The trophy the first win earned, open in the trophy list (its page turned to with the list's
# next-page button): its open medal, gold, where the closed one would be grey.
if ((${#trophies_won[@]} > 0)) && [[ -n "${trophies_won[0]}" ]]; then
  trophy_key=$(trophy_key "${trophies_won[0]}")
  trophy_grid=$(content_path "$(tag_attribute "$(window_file Trophy)" pages file)")
  trophy_index=$(grep -o 'key="trophy" value="[a-z0-9_]*"' "$trophy_grid" | grep -n "\"$trophy_key\"" | cut -d: -f1)
  [[ -n "$trophy_index" ]] || give_up "no item for the trophy \"${trophies_won[0]}\" ($trophy_key) in the trophy list"
  trophy_index=$((trophy_index - 1))
  per_page=$(($(tag_attribute "$trophy_grid" pages cols) * $(tag_attribute "$trophy_grid" pages rows)))
  read -r trophy_w trophy_h <<< "$(tag_attribute "$trophy_grid" item size)"
  press Sidebar 3
  opened Trophy 10 10
  pager=$(tag_attribute "$(window_file Trophy)" pages gui)
  widget_place Trophy "$pager" PAGE_NUMBER
  next_x=$((place_x + $(sed -n 's/.*<BUTTON [^>]*page_next[^>]*><TRANSFORM>\([-0-9]*\) .*/\1/p' "$(window_file Trophy)")))
  next_y=$place_y
  for ((page = 0; page < trophy_index / per_page; page++)); do
    click 1 "$next_x" "$next_y"
    sleep 0.6 # the page slides
  done
  grid_item_place "$trophy_grid" $((trophy_index % per_page)) "$per_page" "$trophy_w" "$trophy_h"
  read -r medal_dx medal_dy <<< "$(widget_offset "$trophy_grid" 1 IMAGE)"
  wait_for 5 still_at $((place_x + medal_dx)) $((place_y + medal_dy)) 60 60 || true
  stage_shot trophy_list "${trophies_won[0]}"
  gold=$(count_near "$image" $((place_x + medal_dx)) $((place_y + medal_dy)) 20 "$reward" 48)
  echo "trophy list: ${trophies_won[0]} ($trophy_key), item $trophy_index, $gold gold pixels at its medal"
  ((gold > 100)) || fail "the trophy \"${trophies_won[0]}\" does not show its open medal in the list ($gold gold pixels)"
  packs_before=$(opening_count Packs)
  press Sidebar 2
  opens_after Packs "$packs_before" 20
  settled Packs 1
fi
bad_trace_lines || true
echo "stages 3 and 4 done after $(($(date +%s) - started_all)) s"


# === 5. Options: music down, fullscreen on, the game cursor off
options_file=$(window_file Options)
press Sidebar 4
opened Options 10 3
stage_shot options "Music" "Game cursor"
# The music slider: its track from START to END over 0 to 100, the knob where the profile's volume is.
music_before=$(attribute "$players" "<player name=\"$player_name\"" music_volume)
read -r start_x start_y <<< "$(tag_attribute "$options_file" 'SLIDER13 ID="10"' START)"
read -r end_x _ <<< "$(tag_attribute "$options_file" 'SLIDER13 ID="10"' END)"
[[ -n "$start_x" && -n "$end_x" && -n "$music_before" ]] || give_up "no music slider or volume"
# The knob runs between the two end buttons (a thirteenth of the strip texture each, at the ends)
# less "BTN_DISTANCE" (1.5) button sizes on each side.
strip_w=$(identify -format '%w' "$(content_path "$(tag_attribute "$options_file" 'SLIDER13 ID="10"' TEXTURE)")")
knob_margin=$(awk -v w="$strip_w" -v d="$(tag_attribute "$options_file" 'SLIDER13 ID="10"' BTN_DISTANCE || true)" \
  'BEGIN { b = w / 13; if (d == "") d = 1.5; printf "%d", b / 2 + d * b }')
knob_x() { echo $((512 + start_x + knob_margin + (end_x - start_x - 2 * knob_margin) * $1 / 100)); }
music_target=20
wav_size() { stat -c %s "$sound" 2> /dev/null || echo 0; }
stretch=$((44100 * 4 * 3)) # three seconds of 16-bit stereo
drag_started=$(wav_size)
drag "$(knob_x "$music_before")" $((384 + start_y)) "$(knob_x "$music_target")" $((384 + start_y))
drag_ended=$(wav_size)
wait_for 20 eval '(($(wav_size) > drag_ended + 3 * stretch))' || fail "the sound recording stopped growing"
# quiet_level FROM BYTES: the recording's level over that stretch where it is quiet (the fifth of
# its 50 ms pieces that are softest), in dB of full scale: music without the clicks over it.
quiet_level() (
  set +o pipefail # tail ends on a broken pipe once head has its bytes
  tail -c +$(($1 + 1)) "$sound" | head -c "$2" | od -An -t d2 -v -w4 | awk '
    { s += $1 * $1 + $2 * $2; n += 2
      if (n >= 4410) { r[k++] = sqrt(s / n); s = 0; n = 0 } }
    END { if (k == 0) { print -200; exit }
          for (i = 0; i < k; i++) for (j = i + 1; j < k; j++) if (r[j] < r[i]) { t = r[i]; r[i] = r[j]; r[j] = t }
          v = r[int(k * 0.2)]; printf "%.1f\n", (v > 0 ? 20 * log(v / 32768) / log(10) : -200) }'
)
# The music has quiet spells of its own (between tunes, or while a busy machine starves it): each
# side takes the loudest of several stretches, four before the drag and three after it.
loudest_quiet() {
  local from=$1 count=$2 i level best=-200
  for ((i = 0; i < count; i++)); do
    ((from + i * stretch > 44)) || continue
    level=$(quiet_level $((from + i * stretch)) "$stretch")
    best=$(awk -v a="$best" -v b="$level" 'BEGIN { print (b > a ? b : a) }')
  done
  echo "$best"
}
level_before=$(loudest_quiet $((drag_started - 4 * stretch)) 4)
level_after=$(loudest_quiet "$drag_ended" 3)
echo "music: volume $music_before -> $music_target, quiet level $level_before dB -> $level_after dB"
awk -v a="$level_before" -v b="$level_after" 'BEGIN { exit !(a > -90 && b <= a - 6) }' ||
  fail "the music did not fall by 6 dB: $level_before dB -> $level_after dB"
# The game cursor: its sprite stands at the pointer on an empty part of the panel until switched off.
read -r _ panel_h <<< "$(sed -n 's/.*<SIZE>\([0-9]* [0-9]*\)<\/SIZE>.*/\1/p' "$options_file" | head -n 1)"
empty_x=$((512 - 200))
empty_y=$((384 + panel_h / 2 - 16))
# The sliders' ends: the sound slider dragged past the end of its track reads 100 and draws a full
# track, the music slider dragged past its start reads 0 and draws an empty one (no fill before the
# knob either); both are saved by OK below. The two sliders share their x extent.
read -r sound_start_x sound_y <<< "$(tag_attribute "$options_file" 'SLIDER13 ID="9"' START)"
[[ "$sound_start_x" == "$start_x" ]] || give_up "the sound and music sliders do not line up"
sound_before=$(attribute "$players" "<player name=\"$player_name\"" sound_volume)
drag "$(knob_x "$sound_before")" $((384 + sound_y)) $(($(knob_x 100) + 15)) $((384 + sound_y))
drag "$(knob_x "$music_target")" $((384 + start_y)) $(($(knob_x 0) - 15)) $((384 + start_y))
xdotool mousemove "$(screen_x "$empty_x")" "$(screen_y "$empty_y")" # the cursor off the tracks
sleep 0.2 # a frame draws the knobs where the drags left them
image=$(shot slider_ends) || give_up "no screenshot of the slider ends"
# fill_at X Y: the accent fill's pixels on the track at a logical point.
fill_at() { count_near "$image" "$1" "$2" 2 "$accent" 40; }
for v in 10 50 90; do
  (($(fill_at "$(knob_x "$v")" $((384 + sound_y))) >= 10)) || fail "the sound slider at 100 shows no fill at $v"
  (($(fill_at "$(knob_x "$v")" $((384 + start_y))) == 0)) || fail "the music slider at 0 shows fill at $v"
done
(($(fill_at $(($(knob_x 0) - 24)) $((384 + start_y))) == 0)) || fail "the music slider at 0 shows fill before its knob"
(($(count_near "$image" $(($(knob_x 100) + 24)) $((384 + sound_y)) 2 "$track" 6) == 0)) ||
  fail "the sound slider's track runs on past its knob at 100"
# The switches: on, the accent panel; off, the grey one (the game cursor switch is on so far).
widget_place Options 8 CHECKBOX_IOS
switch_on_accent=$(count_near "$image" "$place_x" "$place_y" 14 "$accent" 24)
cursor_ink() {
  xdotool mousemove "$(screen_x "$empty_x")" "$(screen_y "$empty_y")"
  sleep 0.2 # a frame draws the pointer there
  local image
  image=$(shot "$1") && count_near "$image" $((empty_x + 8)) $((empty_y + 10)) 8 "$ink" 40
}
ink_with_cursor=$(cursor_ink cursor_on)
((ink_with_cursor > 10)) || fail "no game cursor drawn at the pointer ($ink_with_cursor ink pixels)"
# Fullscreen: the window then covers the screen.
screen_size=$(xdpyinfo 2> /dev/null | sed -n 's/.*dimensions: *\([0-9]*x[0-9]*\) .*/\1/p')
widget_place Options 7 CHECKBOX_IOS
click 1 "$place_x" "$place_y"
fullscreen_now() { [[ "$(xdotool getwindowgeometry "$window" 2> /dev/null | sed -n 's/.*Geometry: //p')" == "$screen_size" ]]; }
wait_for 10 fullscreen_now || fail "fullscreen: the window is $(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p'), the screen $screen_size"
read_geometry
echo "fullscreen: window $geometry at $origin_x,$origin_y scaled $scale_pct %"
settled Options 3
widget_place Options 8 CHECKBOX_IOS
click 1 "$place_x" "$place_y"
wait_for 5 still_at "$place_x" "$place_y" 80 40 || fail "the cursor switch never came to rest"
ink_without_cursor=$(cursor_ink cursor_off)
# One shot holds both states: the fullscreen switch on, the cursor switch off.
image=$(shot switches) || give_up "no screenshot of the switches"
switch_off_accent=$(count_near "$image" "$place_x" "$place_y" 14 "$accent" 24)
switch_off_grey=$(count_near "$image" "$place_x" "$place_y" 14 "$switch_grey" 12)
widget_place Options 7 CHECKBOX_IOS
switch_on_accent_full=$(count_near "$image" "$place_x" "$place_y" 14 "$accent" 24)
echo "switch accent pixels: on $switch_on_accent (fullscreen $switch_on_accent_full), off $switch_off_accent (grey $switch_off_grey)"
((switch_on_accent >= 200 && switch_on_accent_full >= 200)) || fail "a switch that is on shows too little accent"
((switch_off_accent <= 10 && switch_off_grey >= 200)) || fail "the switch that is off is not grey"
echo "cursor ink at the pointer: $ink_with_cursor -> $ink_without_cursor"
((ink_without_cursor <= 2)) || fail "the game cursor is still drawn ($ink_without_cursor ink pixels)"
stage_shot options_set "Music"
# The letterbox: bands above and below (or beside) the scaled picture, filled with the border art.
((origin_x > 0 || origin_y > 0)) || fail "no letterbox bands around the scaled picture"
# Crops of the slider and the two switches, for the second start to compare.
for id in 10 7 8; do
  if [[ $id == 10 ]]; then place_x=$(knob_x 0); place_y=$((384 + start_y)); else widget_place Options "$id" CHECKBOX_IOS; fi
  crop_of "$image" "$place_x" "$place_y" 80 40 "$work_dir/$case_name/options_$id.png"
done
press Options 3
closed Options
wait_for 5 eval '[[ "$(attribute "$players" "<player name=\"$player_name\"" game_cursor)" == false ]]' ||
  fail "the cursor flag was not saved"
music_saved=$(attribute "$players" "<player name=\"$player_name\"" music_volume)
sound_saved=$(attribute "$players" "<player name=\"$player_name\"" sound_volume)
echo "saved volumes: music $music_saved, sound $sound_saved"
[[ "$music_saved" =~ ^0(\.0*)?$ ]] || fail "saved music volume $music_saved, want 0"
[[ "$sound_saved" =~ ^100(\.0*)?$ ]] || fail "saved sound volume $sound_saved, want 100"

# === 6. Back to the title (from the level list to the packs, from there to the title), Exit, yes
# back_to_title: the side bar's Back until the title has opened once more.
back_to_title() {
  local titles=$(($(lines_of 'trace: window opened Title$') + 1)) tries
  for tries in 1 2 3; do
    settled Sidebar 5
    press Sidebar 5
    if nth_line "$titles" 'trace: window opened Title$' 5 > /dev/null; then
      settled Title 1
      return 0
    fi
  done
  give_up "the side bar's Back never led to the title"
}
back_to_title
stage_shot title_again "Hello, $player_name"
press Title 3
opened Confirm_Exit 10
press Confirm_Exit 3
wait_for 20 eval '! scene_alive' || give_up "the game did not end after Exit"
status=0
wait "$scene_pid" || status=$?
scene_pid=""
echo "exit status: $status"
((status == 0)) || fail "the game ended with status $status"
bad_trace_lines || true
cp "$players" "$work_dir/players.run1.xml"
# The user's settings are written at exit.
grep -qsE 'key="fullscreen" value="(true|1)"' "$save_home/quorvel/game.xml" || fail "fullscreen was not saved in game.xml"
echo "stages 5 and 6 done after $(($(date +%s) - started_all)) s"

# === 7. A second start from the same folder
launch run2
echo "second start: window $geometry at $origin_x,$origin_y scaled $scale_pct %"
[[ "$geometry" == "$screen_size" ]] || fail "the second start is not fullscreen: $geometry"
opened Title 30
stage_shot title "Hello, $player_name"
press Title 1
opened Packs 20 1
closed Fade_Transition 10
stage_shot packs
words_in "$(ocr_text "$image" "$(
  widget_place Sumie 2 WLABEL
  echo "100x36+$((place_x - 10))+$((place_y - 18))"
)")" "$(player_value "$players" money)" || fail "the money bar does not show $(player_value "$players" money)"
widget_place Heart 1 WLABEL
shown_hearts=$(ocr_text "$image" "60x36+$((place_x - 30))+$((place_y - 18))" 7 -negate | tr -dc '0-9')
[[ "$shown_hearts" == "$hearts_after" ]] || fail "the hearts bar shows \"$shown_hearts\" after the restart, want $hearts_after"
grid_item_place "$(content_path "$(tag_attribute "$(window_file Packs)" pages file)")" 0 "$pack_count" "$card_w" "$card_h"
click 1 "$place_x" "$place_y"
opened Levels 10 1
sleep 0.3 # the items' own fade-in
stage_shot levels
level_place 0
stars_shown=""
for dx in -28 0 28; do
  if (($(count_near "$image" $((place_x + dx)) $((place_y + 28)) 8 "$reward" 40) > 40)); then stars_shown+=1; else stars_shown+=0; fi
done
[[ "$stars_shown" == 110 ]] || fail "after the restart the level list shows stars $stars_shown on level 1, want 110"
press Sidebar 4
opened Options 10 3
stage_shot options
# The knob where the saved volume puts it: its white middle.
music_saved=$(attribute "$players" "<player name=\"$player_name\"" music_volume)
(($(count_near "$image" "$(knob_x "$music_saved")" $((384 + start_y)) 4 FFFFFF 24) > 20)) ||
  fail "the music slider's knob is not at $music_saved after the restart"
for id in 7 8; do
  widget_place Options "$id" CHECKBOX_IOS
  crop_of "$image" "$place_x" "$place_y" 80 40 "$work_dir/$case_name/options_$id.png"
  diff=$(compare -metric AE -fuzz 6% "$work_dir/run1/options_$id.png" "$work_dir/$case_name/options_$id.png" null: 2>&1 || true)
  [[ "${diff%% *}" =~ ^[0-9]+$ ]] && ((${diff%% *} < 40)) || fail "control $id of the options looks different after the restart ($diff pixels)"
done
press Options 4
closed Options
back_to_title
press Title 3
opened Confirm_Exit 10
press Confirm_Exit 3
wait_for 20 eval '! scene_alive' || give_up "the game did not end after the second Exit"
status=0
wait "$scene_pid" || status=$?
scene_pid=""
((status == 0)) || fail "the second run ended with status $status"
bad_trace_lines || true
for key in music_volume sound_volume game_cursor; do
  [[ "$(attribute "$players" "<player name=\"$player_name\"" "$key")" == "$(attribute "$work_dir/players.run1.xml" "<player name=\"$player_name\"" "$key")" ]] ||
    fail "the second run changed $key in the save"
done
[[ "$(health_count "$players")" == "$hearts_after" && "$(player_value "$players" money)" == "$(player_value "$work_dir/players.run1.xml" money)" ]] ||
  fail "the second run changed the hearts or the money in the save"
echo "stage 7 done after $(($(date +%s) - started_all)) s"

stop_xvfb
((failures == 0)) || { echo "journey: $failures check(s) failed" >&2; exit 1; }
echo "journey: ok in $(($(date +%s) - started_all)) s"
