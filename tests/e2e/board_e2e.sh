#!/usr/bin/env bash
# The board on the built content under Xvfb (e2e_board_scene, see board_scene.cpp), on the first
# level of the 20 x 20 pack, driven with xdotool and with commands on the scene's stdin, checked by
# the scene's log and by screenshots:
#   - the clues the board computed equal those of the level's text picture;
#   - a left drag over a run of picture cells shows the ordinals while the button is held, and the
#     release opens the cells one after another (event 18 per cell, "open_delay" apart, then 20);
#   - a right drag over a picture cell is reported wrong (19, then 21) and an error mark appears
#     in the first slot of the error panel once its ping has passed;
#   - "process::undo" takes that move back (22) and its mark away;
#   - completing the row crosses its clues: faded numbers with the strike, no ink left there;
#   - a press 2 px inside the right edge of a cell of the last block selects that very cell.
# Usage: board_e2e.sh RUN_DIR WORK_DIR
set -euo pipefail
run_dir=$(cd "$1" && pwd)
mkdir -p "$2"
work_dir=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_lib.sh"

# The level and its source picture: the pack's level files are its pictures in name order.
pack=pack06
level_key="$pack level01.xml"
picture=$(LC_ALL=C ls "$here/../../content/levels/$pack"/*.txt | LC_ALL=C sort | head -n 1)
# The theme's colours (tools/content_builder/theme.h).
ink=2E3A59     # open clues and the selection ordinals
faded=817869   # crossed clues and their strike
error=D1495B   # the error mark
ambient_file="$run_dir/Resources/data/share/main/gameplay/ambient.xml"
effects_file="$run_dir/Resources/data/share/main/gameplay/effects.xml"

for tool in convert xdotool import; do
  command -v "$tool" > /dev/null || { echo "board e2e: $tool is missing" >&2; exit 1; }
done

cleanup() {
  exec 7>&- 2> /dev/null || true
  e2e_cleanup
}
trap cleanup EXIT

log="$work_dir/board_scene.log"
rm -f "$work_dir"/*.png "$log" "$work_dir/input"
mkfifo "$work_dir/input"
start_xvfb 1024x768
(cd "$run_dir" && exec ./e2e_board_scene --level "$level_key" --seconds 200 < "$work_dir/input") > "$log" 2>&1 &
scene_pid=$!
# Held open for the whole run: the scene's stdin ends only when the script does.
exec 7> "$work_dir/input"

give_up() {
  fail "$1"
  dump_scene "$log"
  echo "board e2e: stopped; screenshots in $work_dir" >&2
  exit 1
}

line() { wait_for_line "${2:-10}" "$log" "$1"; }
count() { grep -c -- "$1" "$log" || true; }
# mark, then fresh PATTERN [SECONDS]: waits for a line matching that came after the mark and prints
# it (the same event may have come earlier, in another stage).
mark() { log_mark=$(wc -l < "$log"); }
since_mark() { tail -n +$((log_mark + 1)) "$log" | grep -m1 -- "$1"; }
fresh() { wait_for "${2:-10}" since_mark "$1" > /dev/null && since_mark "$1"; }
send() { echo "$1" >&7; }
# hover COLUMN ROW: the pointer to the cell's centre, once the board has followed it.
hover() {
  mark
  move_to_cell "$1" "$2"
  fresh "^event 15 cell $1 $2 " > /dev/null
}

window=$(wait_for_window 20 '^Quorvel board scene$' || true)
[[ -n "$window" ]] || give_up "the scene's window never appeared"
info=$(xdotool getwindowgeometry "$window")
geometry=$(sed -n 's/.*Geometry: //p' <<< "$info")
position=$(sed -n 's/.*Position: \(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\).*/\1/p' <<< "$info")
[[ $geometry == 1024x768 ]] || fail "window is $geometry, want 1024x768"
origin_x=${position%,*}
origin_y=${position#*,}
line '^ready: board' 30 > /dev/null || give_up "the board was never drawn"

# --- geometry: a cell's left edge is cell origin + column x cell - (column / block) x shift
read -r _ _ cell_w cell_h _ cell_ox cell_oy _ shift_x shift_y _ block_x block_y _ cols rows _ <<< "$(line '^layout ')"
cell_left() { awk -v c="$1" -v o="$cell_ox" -v w="$cell_w" -v b="$block_x" -v s="$shift_x" \
  'BEGIN { printf "%d", o + c * w - int(c / b) * s }'; }
cell_top() { awk -v r="$1" -v o="$cell_oy" -v h="$cell_h" -v b="$block_y" -v s="$shift_y" \
  'BEGIN { printf "%d", o + r * h - int(r / b) * s }'; }
centre_x() { echo $(($(cell_left "$1") + cell_w / 2)); }
centre_y() { echo $(($(cell_top "$1") + cell_h / 2)); }
move_to() { xdotool mousemove $((origin_x + $1)) $((origin_y + $2)); }
move_to_cell() { move_to "$(centre_x "$1")" "$(centre_y "$2")"; }
shot() {
  import -window root "$work_dir/$1.png"
  echo "$work_dir/$1.png"
}
# box_pixels IMAGE X Y W H: "r g b" (decimal) of every pixel of the logical box.
box_pixels() {
  convert "$1" -crop "$4x$5+$((origin_x + $2))+$((origin_y + $3))" +repage -depth 8 txt:- |
    sed -n 's/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}
# dark_near IMAGE X Y R: a pixel darker than the paper and the accent (an ink stroke) lies within
# R pixels of the logical point.
dark_near() {
  box_pixels "$1" $(($2 - $4)) $(($3 - $4)) $((2 * $4 + 1)) $((2 * $4 + 1)) |
    awk '$1 + $2 + $3 < 330 { found = 1 } END { exit !found }'
}
# dark_count IMAGE X Y W H LIMIT: pixels of the logical box whose channels add up to less than
# LIMIT. Ink (sum 193) stays far below the faded colour (sum 354), the band is 698.
dark_count() {
  box_pixels "$1" "$2" "$3" "$4" "$5" | awk -v limit="$6" '$1 + $2 + $3 < limit { n++ } END { print n + 0 }'
}
# colour_count IMAGE X Y W H RRGGBB TOL: pixels of the logical box within TOL of the colour.
colour_count() {
  local want=$6
  box_pixels "$1" "$2" "$3" "$4" "$5" |
    awk -v r=$((16#${want:0:2})) -v g=$((16#${want:2:2})) -v b=$((16#${want:4:2})) -v t="$7" '
      function off(a, b) { return a > b ? a - b : b - a }
      off($1, r) <= t && off($2, g) <= t && off($3, b) <= t { n++ }
      END { print n + 0 }'
}

# --- the clues against the text picture
expected=$(awk '
  { line[NR - 1] = $0; width = length($0); height = NR }
  function runs(text,   i, run, out) {
    out = ""; run = 0
    for (i = 1; i <= length(text); i++) {
      if (substr(text, i, 1) == "#") run++
      else if (run > 0) { out = out " " run; run = 0 }
    }
    if (run > 0) out = out " " run
    return out == "" ? " 0" : out
  }
  END {
    for (r = 0; r < height; r++) print "clues row " r ":" runs(line[r])
    for (c = 0; c < width; c++) { column = ""; for (r = 0; r < height; r++) column = column substr(line[r], c + 1, 1)
      print "clues col " c ":" runs(column) }
  }' "$picture")
actual=$(grep '^clues ' "$log")
[[ "$actual" == "$expected" ]] || fail "clues differ from $(basename "$picture"): $(diff <(echo "$expected") <(echo "$actual") | head -n 6 | tr '\n' ' ')"
echo "clues: $(grep -c '^clues row' <<< "$actual") rows and $(grep -c '^clues col' <<< "$actual") columns as in $(basename "$picture")"
((cols == 20 && rows == 20)) || fail "the level is $cols x $rows, want 20 x 20"

# The row to play: the first with two runs or more, its first run of three cells or more; its
# other runs complete it later. A picture cell of another row takes the wrong mark.
read -r play_row run_start run_end wrong_col wrong_row <<< "$(awk '
  { line[NR - 1] = $0 }
  END {
    for (r = 0; r < NR && row == ""; r++) {
      n = 0; s = ""; split("", starts); split("", ends)
      for (i = 1; i <= length(line[r]) + 1; i++) {
        ch = substr(line[r], i, 1)
        if (ch == "#" && s == "") s = i - 1
        if (ch != "#" && s != "") { starts[n] = s; ends[n] = i - 2; n++; s = "" }
      }
      if (n >= 2 && ends[0] - starts[0] >= 2) { row = r; a = starts[0]; b = ends[0] }
    }
    for (r = 0; r < NR && wr == ""; r++) if (r != row && (i = index(line[r], "#")) > 0) { wr = r; wc = i - 1 }
    print row, a, b, wc, wr
  }' "$picture")"
[[ -n "$play_row" && -n "$wrong_row" ]] || give_up "no row to play in $(basename "$picture")"
echo "playing row $play_row (run $run_start..$run_end), a wrong cross on ($wrong_col, $wrong_row)"
before=$(shot start)

# --- a left drag over the run: ordinals while held, then the cells open one after another
case_name="left drag"
hover "$run_start" "$play_row" || fail "the hover never reached the run's first cell"
mark
xdotool mousedown 1
fresh "^event 13 cell $run_start $play_row mark 100" > /dev/null || give_up "the press began no selection"
for ((c = run_start + 1; c <= run_end; c++)); do
  mark
  move_to_cell "$c" "$play_row"
  fresh "^event 15 cell $c $play_row mark 100" > /dev/null || fail "the drag never reached column $c"
done
sleep 0.2  # a few frames drawn with the whole selection (the scene has no hold)
image=$(shot drag)
for ((c = run_start; c <= run_end; c++)); do
  dark_near "$image" "$(centre_x "$c")" "$(centre_y "$play_row")" 5 || fail "no ordinal drawn on column $c"
done
# The cell after the run (not selected) shows no ordinal.
dark_near "$image" "$(centre_x $((run_end + 1)))" "$(centre_y "$play_row")" 5 && fail "an ordinal beyond the selection"
xdotool mouseup 1
run_cells=""
for ((c = run_start; c <= run_end; c++)); do run_cells+="${run_cells:+|}$c $play_row"; done
line "^event 20 cells $run_cells t" 10 > /dev/null || fail "no event 20 for the run's cells"
opened=$(grep -E "^event (18|19|20|21) " "$log")
expected_events=""
for ((c = run_start; c <= run_end; c++)); do expected_events+="18 $c $play_row"$'\n'; done
expected_events+="20"
got_events=$(awk '{ print $2 ($2 < 20 ? " " $4 " " $5 : "") }' <<< "$opened")
[[ "$got_events" == "$expected_events" ]] || fail "events on release: $(tr '\n' ',' <<< "$got_events")"
open_delay=$(sed -n 's/.*key="open_delay" value="\([0-9.]*\)".*/\1/p' "$effects_file")
awk -v d="$open_delay" '$2 == 18 { t = $NF; if (n++ && t - last < d * 0.5) bad = 1; last = t }
  END { exit bad || n < 2 }' <<< "$opened" || fail "the cells did not open $open_delay s apart: $(grep -c . <<< "$opened") events"
sleep 0.3  # the last square pops in
image=$(shot opened)
for ((c = run_start; c <= run_end; c++)); do
  (($(colour_count "$image" $(($(centre_x "$c") - 6)) $(($(centre_y "$play_row") - 6)) 12 12 "$ink" 24) >= 100)) ||
    fail "column $c is not filled with ink"
done

# --- a right drag over a picture cell: wrong, then an error mark after the ping
case_name="wrong cross"
read -r slot_x slot_y <<< "$(line '^error slot 0 ' | awk '{ print $5, $6 }')"
ping=$(sed -n 's/.*<error_panel[^>]* ping="\([0-9.]*\)".*/\1/p' "$ambient_file")
slot_paper=$(colour_count "$before" "$slot_x" "$slot_y" 30 30 "$error" 40)
hover "$wrong_col" "$wrong_row" || fail "the hover never reached the wrong cell"
mark
xdotool mousedown 3
fresh "^event 13 cell $wrong_col $wrong_row mark 101" > /dev/null || give_up "the right press began no cross selection"
move_to $(($(centre_x "$wrong_col") + 4)) $(($(centre_y "$wrong_row") + 3))
xdotool mouseup 3
wrong=$(line "^event 21 cells $wrong_col $wrong_row t" 10) || fail "no event 21 for the wrong cell"
t19=$(line "^event 19 cell $wrong_col $wrong_row " | awk '{ print $NF }') || fail "no event 19"
marked=$(line '^marks 1 ' 10) || give_up "no error mark was placed"
awk -v a="$t19" -v b="$(awk '{ print $NF }' <<< "$marked")" -v p="$ping" 'BEGIN { exit !(b - a >= p * 0.8) }' ||
  fail "the mark came before its ping of $ping s ($t19 -> $marked)"
[[ $(count '^event 19 ') == 1 && $(count '^event 18 ') == $((run_end - run_start + 1)) ]] || fail "unexpected answers"
sleep 0.3  # the mark's pop-in plays out
image=$(shot error)
marked_pixels=$(colour_count "$image" "$slot_x" "$slot_y" 30 30 "$error" 40)
((marked_pixels >= 100 && slot_paper < 10)) || fail "the error slot shows $marked_pixels error pixels (before: $slot_paper)"
# The wrongly crossed picture cell shows its true kind: the ink square.
(($(colour_count "$image" $(($(centre_x "$wrong_col") - 6)) $(($(centre_y "$wrong_row") - 6)) 12 12 "$ink" 24) >= 100)) ||
  fail "the wrong cell does not show its square"

# --- undo on stdin: the move and its mark go
case_name="undo"
mark
send "process::undo"
fresh '^command process::undo -> ok' > /dev/null || fail "the undo was not taken"
fresh "^event 22 cells $wrong_col $wrong_row t" > /dev/null || fail "no event 22 for the wrong move"
fresh '^marks 0 ' > /dev/null || fail "the mark stayed"
sleep 0.2
image=$(shot undone)
(($(colour_count "$image" "$slot_x" "$slot_y" 30 30 "$error" 40) < 10)) || fail "the error slot still shows the mark"
(($(colour_count "$image" $(($(centre_x "$wrong_col") - 6)) $(($(centre_y "$wrong_row") - 6)) 12 12 "$ink" 24) < 20)) ||
  fail "the undone cell still shows its square"

# --- complete the row: its clues are crossed, faded and struck
case_name="row crossed"
clue_lines=$(grep "^clue row $play_row " "$log")
clue_count=$(grep -c . <<< "$clue_lines")
# Its clue boxes hold ink before (the numbers).
first_clue=$(head -n 1 <<< "$clue_lines" | awk '{ print $6, $7 }')
read -r clue_x clue_y <<< "$first_clue"
(($(dark_count "$before" $((clue_x - 8)) $((clue_y - 9)) 16 18 420) >= 3)) || fail "the first clue shows no ink before"
row_text=$(sed -n "$((play_row + 1))p" "$picture")
col=0
while ((col < cols)); do
  if [[ ${row_text:$col:1} == "#" && (col -lt run_start || col -gt run_end) ]]; then
    end=$col
    while ((end + 1 < cols)) && [[ ${row_text:$((end + 1)):1} == "#" ]]; do end=$((end + 1)); done
    hover "$col" "$play_row" || fail "the hover never reached column $col"
    mark
    xdotool mousedown 1
    fresh "^event 13 cell $col $play_row mark 100" > /dev/null || fail "no selection at column $col"
    for ((c = col + 1; c <= end; c++)); do
      mark
      move_to_cell "$c" "$play_row"
      fresh "^event 15 cell $c $play_row mark 100" > /dev/null || fail "the drag never reached column $c"
    done
    mark
    xdotool mouseup 1
    fresh '^event 20 ' > /dev/null || fail "the run at $col..$end did not open"
    col=$((end + 1))
  else
    col=$((col + 1))
  fi
done
for ((k = 0; k < clue_count; k++)); do
  line "^crossed row $play_row $k\$" > /dev/null || fail "clue $k of row $play_row was not crossed"
done
sleep 0.3  # the strikes play out
image=$(shot crossed)
while read -r _ _ _ k _ x y; do
  box=("$((x - 8))" "$((y - 9))" 16 18)
  inked=$(dark_count "$image" "${box[@]}" 300)
  fadedpx=$(colour_count "$image" "${box[@]}" "$faded" 24)
  ((inked == 0 && fadedpx >= 15)) || fail "clue $k of row $play_row at $x $y: $inked ink and $fadedpx faded pixels"
done <<< "$clue_lines"

# --- a press 2 px inside the right edge of a cell in the last block selects that cell
case_name="last block"
last_col=$((cols - 1))
edge_x=$(($(cell_left "$last_col") + cell_w - 2))
target_row=0
for ((r = 0; r < rows; r++)); do
  text=$(sed -n "$((r + 1))p" "$picture")
  if [[ ${text:$last_col:1} == "." ]]; then
    target_row=$r
    break
  fi
done
# From the cell's centre to 2 px inside its right edge: the hover stays on the cell (no event 15),
# so the press must find the cell there.
hover "$last_col" "$target_row" || fail "the hover did not reach ($last_col, $target_row)"
move_to "$edge_x" "$(centre_y "$target_row")"
mark
xdotool mousedown 3
pressed=$(fresh "^event 12 cell [0-9]* $target_row mark 101" 10) || fail "the press began no selection"
[[ $pressed == "event 12 cell $last_col $target_row mark 101"* ]] || fail "the press selected: $pressed"
shot last_block > /dev/null
mark
xdotool mouseup 3
fresh "^event 20 cells $last_col $target_row t" > /dev/null || fail "the cross on ($last_col, $target_row) was not right"

send "quit"
wait_for 10 bash -c "! kill -0 $scene_pid 2> /dev/null" || fail "the scene did not end on quit"
drew=$(line '^drew ' 5) || fail "the scene did not end cleanly"
echo "${drew:-}"
if grep -q 'not in the font catalogue\|clues are not drawn' "$log"; then fail "the scene is missing fonts"; fi

if ((failures > 0)); then
  echo "board e2e: $failures failed checks; screenshots in $work_dir" >&2
  exit 1
fi
echo "board e2e: all checks passed; screenshots in $work_dir"
