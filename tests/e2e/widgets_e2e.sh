#!/usr/bin/env bash
# Drives the widget gallery (e2e_widget_gallery) through the real window, input and OpenGL device
# under Xvfb with xdotool: clicks buttons, check boxes and the switch (a right click on the switch
# must not flip it), types into the line box, drags both sliders and the movable panel, picks a list
# row with the pointer and the arrow key, then types a name into the dialog's keep-focus line box,
# wiggles the pointer over OK and clicks it: the click must count. Each effect is waited for on the
# gallery's output; screenshots are checked by pixels and by OCR.
# Usage: widgets_e2e.sh RUN_DIR WORK_DIR
set -euo pipefail
run_dir=$(cd "$1" && pwd)
mkdir -p "$2"
work_dir=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_lib.sh"

for tool in xdotool convert import tesseract; do
  command -v "$tool" > /dev/null || { echo "widgets e2e: $tool is missing" >&2; exit 1; }
done

# Colours of the content (content/README.md, palette).
accent=3E8E7E
accent_hover=4FA592
track=E8E0D2

trap e2e_cleanup EXIT

log="$work_dir/gallery.log"
rm -f "$work_dir"/*.png
start_xvfb 1024x768
(cd "$run_dir" && exec ./e2e_widget_gallery --seconds 240) > "$log" 2>&1 &
scene_pid=$!

if ! wait_for_line 30 "$log" '^ready$' > /dev/null; then
  cat "$log" >&2
  echo "widgets e2e: the gallery never became ready" >&2
  exit 1
fi
window=$(wait_for_window 5 '^Quorvel widget gallery$' || true)
[[ -n "$window" ]] || { echo "widgets e2e: the gallery's window cannot be found" >&2; exit 1; }
info=$(xdotool getwindowgeometry "$window")
[[ "$(sed -n 's/.*Geometry: //p' <<< "$info")" == 1024x768 ]] || fail "window is not 1024x768: $info"
position=$(sed -n 's/.*Position: \(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\).*/\1/p' <<< "$info")
origin_x=${position%,*}
origin_y=${position#*,}
xdotool windowfocus --sync "$window"

# --- helpers

# The output lines after the mark.
since=0
mark() { since=$(wc -l < "$log"); }
new_lines() { tail -n +"$((since + 1))" "$log"; }
# grep reads to the end (no -q): an early exit would break the pipe under pipefail.
has_new_line() { new_lines | grep -- "$1" > /dev/null; }
# expect SECONDS PATTERN: a line matching PATTERN comes after the mark.
expect() {
  wait_for "$1" has_new_line "$2" || fail "no line \"$2\" within $1 s (got: $(new_lines | tr '\n' '|'))"
}
# refuse PATTERN: no line after the mark matches.
refuse() {
  if has_new_line "$1"; then fail "unexpected line \"$(new_lines | grep -m1 -- "$1")\""; fi
  return 0
}
# The last line after the mark that matches.
last_new() { new_lines | grep -- "$1" | tail -n 1; }

# point X Y: the pointer to a logical point in two motions, as a hand on a mouse gives. A walk stops
# at the first widget that answers a move (a button the pointer leaves answers it), so a single
# jump would never reach the widget it lands on.
point() {
  xdotool mousemove --window "$window" $(($1 - 3)) $(($2 + 1)) mousemove --window "$window" "$1" "$2"
}

# at IMAGE X Y COLOUR [TOLERANCE]: a logical pixel of the window.
at() { expect_pixel "$1" $((origin_x + $2)) $((origin_y + $3)) "$4" "${5:-10}"; }
# ocr IMAGE X Y W H: one line of text read from a logical rectangle, scaled up for tesseract.
ocr() {
  convert "$1" -crop "$4x$5+$((origin_x + $2))+$((origin_y + $3))" +repage -resize 300% -colorspace Gray \
    "$work_dir/ocr.png"
  tesseract "$work_dir/ocr.png" - -l eng --psm 7 2> /dev/null | tr -s '[:space:]' ' ' | sed 's/^ //; s/ $//'
}

# --- buttons

case_name=button
mark
point 260 120
xdotool click 1
expect 5 '^clicked 3$'
expect 5 '^up 1 -> 3 8$'

case_name=disabled-button
mark
point 340 200
xdotool click 1
expect 5 '^up 1 -> '
refuse '^clicked 5$'

# --- check boxes

case_name=checkbox
mark
point 100 270
xdotool click 1
expect 5 '^check 6 1$'
mark
point 100 320
xdotool click 1
expect 5 '^check 7 0$'

# --- the switch: a right click never flips it, a left click does

case_name=switch-right-click
mark
point 115 380
xdotool click 3
# The walks of the right button (key 2) are over once its release is printed; a flip would come
# before that line.
expect 5 '^up 2 -> '
refuse '^switch '
has_new_line '^down 2 -> none$' || fail "the right press was taken: $(last_new '^down 2')"

case_name=switch
mark
xdotool click 1
expect 5 '^switch 0$'

# --- the line box: click into it and type

case_name=linebox
mark
point 740 130
xdotool click 1
expect 5 '^down 1 -> 20 7$'
mark
xdotool type --delay 40 "Alice"
expect 10 '^text Alice$'
# The text is read back from the screen too, once a frame has shown it.
focused="$work_dir/focused.png"
read_back=""
alice_shown() { import -window root "$focused" && read_back=$(ocr "$focused" 566 112 300 36) && [[ "$read_back" == *Alice* ]]; }
wait_for 5 alice_shown || fail "the line box reads \"$read_back\" on the screen, want Alice"
echo "line box OCR: $read_back"

# --- the slider: drag its knob from 50 (x = 260) to the point of 81.25 (x = 335): 80 in steps of 5

case_name=slider
mark
point 260 480
xdotool mousedown 1
expect 5 '^down 1 -> 9 7$'
xdotool mousemove --window "$window" 300 482 mousemove --window "$window" 335 481
expect 5 '^slider '
xdotool mouseup 1
expect 5 '^up 1 -> 9 10$'
[[ "$(last_new '^slider ')" == "slider 80" ]] || fail "the slider ended at \"$(last_new '^slider ')\", want 80"

# --- the simple slider: drag the runner from 0.25 (x = 200) to x = 320: 75 %

case_name=simple-slider
mark
point 200 570
xdotool mousedown 1
expect 5 '^down 1 -> 10 7$'
xdotool mousemove --window "$window" 260 573 mousemove --window "$window" 320 572
expect 5 '^simple 75$'
xdotool mouseup 1
expect 5 '^up 1 -> 10 8$'

# --- the list box: a row by the pointer, the next one by the Down arrow (over the list)

case_name=listbox
mark
point 740 380
xdotool click 1
expect 5 '^selected Carol$'
mark
xdotool key Down
expect 5 '^selected Dave$'

# --- the movable panel follows a drag keeping the grab offset, and stays put once released

case_name=panel
mark
point 700 640
xdotool mousedown 1
expect 5 '^down 1 -> 23 7$'
xdotool mousemove --window "$window" 710 660 mousemove --window "$window" 720 690
expect 5 '^panel 760 690$'
xdotool mouseup 1
expect 5 '^up 1 -> 23 8$'
mark
point 900 700
xdotool mousemove --window "$window" 880 650
# A click on the card gives a line that shows the moves above have been handled.
xdotool click 1
expect 5 '^up 1 -> 1 8$'
refuse '^panel '

# The shot for the checks below, once it shows the panel's last move (every effect before it has
# been drawn by then).
gallery="$work_dir/gallery.png"
gallery_shown() { import -window root "$gallery" && at "$gallery" 660 690 "$accent" 12 2> /dev/null; }
wait_for 5 gallery_shown || true

# --- the name dialog: a keep-focus line box before the buttons, as in the player-name box

case_name=dialog
mark
point 630 200
xdotool click 1
expect 5 '^dialog open$'
# The box takes the focus on the next move.
point 512 384
mark
xdotool type --delay 40 "Zoe"
expect 10 '^name Zoe$'
dialog="$work_dir/dialog.png"
# The reader takes this font's capital Z for a small one now and then.
zoe_shown() { import -window root "$dialog" && read_back=$(ocr "$dialog" 340 360 200 36) && [[ "${read_back,,}" == *zoe* ]]; }
wait_for 5 zoe_shown || fail "the dialog's box reads \"$read_back\" on the screen, want Zoe"
echo "dialog box OCR: $read_back"

# The OK button turns hovered as the pointer arrives, though the box before it keeps the focus;
# then the pointer wiggles over it and the click must still count.
case_name=keep-focus-click
mark
point 422 450
ok_hovered() { import -window root "$work_dir/hover.png" && at "$work_dir/hover.png" 385 450 "$accent_hover" 8 2> /dev/null; }
wait_for 5 ok_hovered || fail "the OK button never showed its hovered frame"
for x in 418 426 420 428 424; do
  xdotool mousemove --window "$window" "$x" 448 mousemove --window "$window" "$x" 452
done
xdotool click 1
expect 5 '^clicked 32$'
expect 5 '^accepted Zoe$'
expect 5 '^dialog closed$'
case_name=player-label
# The gallery draws the name once the dialog has closed.
named() { import -window root "$work_dir/named.png" && [[ "$(ocr "$work_dir/named.png" 700 186 160 30)" == *Zoe* ]]; }
wait_for 5 named || fail "the player label does not read \"Player: Zoe\" (OCR: $(ocr "$work_dir/named.png" 700 186 160 30))"

kill -TERM "$scene_pid"
status=0
wait "$scene_pid" || status=$?
scene_pid=""
[[ $status -eq 0 ]] || fail "exit status $status after SIGTERM"
stop_xvfb

# --- the screenshots

case_name=shot-gallery
# Check box 6 shows its mark, 7 none; the switch's knob sits at its right end (off).
at "$gallery" 96 274 "$accent" 40 || fail "check box 6 shows no mark"
at "$gallery" 96 324 "$accent" 40 2> /dev/null && fail "check box 7 still shows a mark"
at "$gallery" 130 380 "$accent" 12 || fail "the switch's knob is not at its right end"
at "$gallery" 100 380 "$accent" 12 2> /dev/null && fail "the switch's knob is still at its left end"
# The slider's track spans the knob's travel (x = 140 at 0 to 380 at 100); its fill runs from the
# track's start to the knob at 80 (x = 332), not beyond, and nothing lies between the decrease
# button and the track's start.
at "$gallery" 300 480 "$accent" 12 || fail "the slider's fill does not reach x = 300"
at "$gallery" 362 480 "$track" 12 || fail "the slider's track beyond the knob is not empty"
at "$gallery" 114 480 "$accent" 12 2> /dev/null && fail "the slider's fill starts before its track"
# The progress bar shows the simple slider's 75 %: filled up to x = 110 + 225.
at "$gallery" 320 640 "$accent" 12 || fail "the progress bar is not filled at 70 %"
at "$gallery" 360 640 "$track" 16 || fail "the progress bar is filled at 83 %"
# The list's highlight on row 3 (Dave), none on row 2.
at "$gallery" 860 442 "$accent" 12 || fail "no highlight on the fourth row"
at "$gallery" 860 398 "$accent" 12 2> /dev/null && fail "the third row is still highlighted"
# The panel moved: gone from (740, 640), now around (760, 690).
at "$gallery" 650 640 "$accent" 12 2> /dev/null && fail "the panel is still at its old place"
at "$gallery" 660 690 "$accent" 12 || fail "the panel is not at its new place"

if ((failures > 0)); then
  echo "widgets e2e: $failures check(s) failed; log and screenshots in $work_dir" >&2
  exit 1
fi
echo "widgets e2e: ok"
