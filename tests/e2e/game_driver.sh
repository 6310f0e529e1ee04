# Driving the real game under Xvfb like a player: where a control lies (from the built window and
# layout files), clicks and drags as separate press and release events, screenshots, colour counts
# and OCR. Source it after xvfb_lib.sh. It uses the caller's globals:
#   resources      the built Resources folder
#   work_dir       where screenshots go (in the subfolder case_name)
#   window         the game's X window; origin_x/origin_y its place on the screen
#   log            the game's output (its trace lines)
# and calls the caller's give_up MESSAGE when something it needs is missing.

# A "file" value of the content ("folder name.ext") as a path under Resources.
content_path() { echo "$resources/${1/ //}"; }
# attribute FILE ELEMENT_PATTERN NAME: the first value of NAME on a line matching the pattern.
attribute() { grep -m1 -- "$2" "$1" | sed -n "s/.*[[:space:]]$3=\"\([^\"]*\)\".*/\1/p"; }

# tag_attribute FILE TAG NAME: the value of NAME in the first element TAG, whose start tag may span
# several lines.
tag_attribute() {
  tr '\n\r\t' '   ' < "$1" | awk -v tag="<$2 " -v name="$3" '{
    s = index($0, tag); if (s == 0) exit 1
    head = substr($0, s + length(tag) - 1); head = substr(head, 1, index(head, ">"))
    if (!match(head, "[ ]" name "=\"[^\"]*\"")) exit 1
    v = substr(head, RSTART + length(name) + 3, RLENGTH - length(name) - 4); print v
  }'
}

# window_file NAME: the built file of the window NAME, as the window list names it (a path to a
# window file, as a tutorial step's, stands for itself).
window_file() {
  local entry
  [[ "$1" == /*.xml ]] && { echo "$1"; return; }
  entry=$(grep -m1 "windows $1\.xml" "$resources/data/share/main/other/windows.xml" | sed -n 's/.*file="\([^"]*\)".*/\1/p')
  content_path "$entry"
}

# widget_offset FILE ID [TAG]: prints "x y", the place of the first widget with that ID (and tag) in
# a window or layout file relative to the file's origin: its POSITION plus those of the widgets it
# is nested in. Comments are skipped (they may hold "<" and ">" of their own).
widget_offset() {
  tr '\n\r\t' '   ' < "$1" | awk -v id="$2" -v want="${3:-}" '
    function report(   k, x, y) {
      x = 0; y = 0
      for (k = 1; k <= depth; k++) { x += px[k]; y += py[k] }
      print x, y; found = 1
    }
    {
      text = $0
      while ((s = index(text, "<!--")) > 0) {
        rest = substr(text, s + 4); e = index(rest, "-->")
        text = substr(text, 1, s - 1) (e > 0 ? substr(rest, e + 3) : "")
      }
      n = split(text, tok, "<"); depth = 0
      for (i = 2; i <= n && !found; i++) {
        t = tok[i]
        if (t ~ /^POSITION>/) {
          v = t; sub(/^POSITION> */, "", v); split(v, p, / +/)
          if (depth > 0) { px[depth] = p[1] + 0; py[depth] = p[2] + 0 }
        } else if (t ~ /^\/[A-Z][A-Z0-9_]*>/) {
          name = substr(t, 2); sub(/>.*/, "", name)
          if (depth > 0 && tag[depth] == name) { if (hit[depth]) report(); depth-- }
        } else if (t ~ /^[A-Z][A-Z0-9_]*[ >\/]/ && t !~ /^(POSITION|SIZE|CONTEXT|GUI|TEXEL|TRANSFORM|ANIMATION)[ >\/]/) {
          name = t; sub(/[ >\/].*/, "", name)
          head = t; sub(/>.*/, "", head)
          depth++; tag[depth] = name; px[depth] = 0; py[depth] = 0
          hit[depth] = index(" " head " ", " ID=\"" id "\"") > 0 && (want == "" || want == name)
          if (head ~ /\/$/) { if (hit[depth]) report(); depth-- }
        }
      }
    }
    END { exit !found }'
}

# widget_place WINDOW ID [TAG]: sets place_x/place_y to the logical place of a control of a window
# (a window lies at its "_position" in pixels, or else centred on the 1024 x 768 logical screen).
widget_place() {
  local file offset origin
  file=$(window_file "$1")
  [[ -f "$file" ]] || give_up "no window file for $1"
  offset=$(widget_offset "$file" "$2" "${3:-}") || give_up "no control $2 in $file"
  origin=$(tag_attribute "$file" window _position) || true
  [[ -n "$origin" ]] || origin="512 384"
  read -r place_x place_y <<< "$offset"
  read -r wx wy <<< "$origin"
  place_x=$((wx + place_x))
  place_y=$((wy + place_y))
}
# button_place WINDOW ID: the same for a button.
button_place() { widget_place "$1" "$2" BUTTON5; }

# grid_item_place LAYOUT_FILE INDEX COUNT WIDTH HEIGHT: sets place_x/place_y to the centre of item
# INDEX (from 0, first page) of a paged grid of COUNT items of that size, as the grid arranges them.
grid_item_place() {
  local cols rows gx gy pos_x pos_y
  cols=$(tag_attribute "$1" pages cols)
  rows=$(tag_attribute "$1" pages rows)
  gx=$(tag_attribute "$1" pages interval_x)
  gy=$(tag_attribute "$1" pages interval_y)
  read -r pos_x pos_y <<< "$(tag_attribute "$1" pages pos)"
  [[ -n "$cols" && -n "$rows" && -n "$pos_x" ]] || give_up "no grid in $1"
  local c=$(($2 % cols)) r=$(($2 / cols))
  place_x=$((pos_x - (cols * $4 + (cols - 1) * gx) / 2 + $4 / 2 + c * ($4 + gx)))
  place_y=$((pos_y - (rows * $5 + (rows - 1) * gy) / 2 + $5 / 2 + r * ($5 + gy)))
}

shot() {
  import -window root "$work_dir/$case_name/$1.png" 2> /dev/null && echo "$work_dir/$case_name/$1.png"
}
# logical X Y -> the screen's pixel. A window larger than the logical screen shows it scaled by
# scale_pct percent (100 unless the caller sets it) from origin_x/origin_y; sizes scale with span.
screen_x() { echo $((origin_x + $1 * ${scale_pct:-100} / 100)); }
screen_y() { echo $((origin_y + $1 * ${scale_pct:-100} / 100)); }
span() { echo $(($1 * ${scale_pct:-100} / 100)); }
# count_near IMAGE X Y R RRGGBB TOL: pixels within R of the logical point within TOL of the colour.
count_near() {
  local want=$5
  convert "$1" -crop "$(span $((2 * $4 + 1)))x$(span $((2 * $4 + 1)))+$(screen_x $(($2 - $4)))+$(screen_y $(($3 - $4)))" +repage \
    -depth 8 txt:- 2> /dev/null |
    awk -v r=$((16#${want:0:2})) -v g=$((16#${want:2:2})) -v b=$((16#${want:4:2})) -v t="$6" '
      function off(a, c) { return a > c ? a - c : c - a }
      NR > 1 { sub(/^[^(]*\(/, ""); split($0, v, /[,)]/)
               if (off(v[1], r) <= t && off(v[2], g) <= t && off(v[3], b) <= t) n++ }
      END { print n + 0 }'
}
# focus_game: keyboard and pointer go to the game's window.
focus_game() { xdotool windowfocus "$window" 2> /dev/null || true; }
# click BUTTON X Y: a click at the logical point at the speed of a hand, focus on the game: the
# press comes right after the pointer arrives (on the same frame) and the release a frame later.
click() {
  focus_game
  xdotool mousemove "$(screen_x "$2")" "$(screen_y "$3")" mousedown "$1" sleep 0.025 mouseup "$1"
}
# drag X0 Y0 X1 Y1: the left button pressed at one logical point, moved in steps, released at the other.
drag() {
  focus_game
  xdotool mousemove "$(screen_x "$1")" "$(screen_y "$2")"
  xdotool mousedown 1
  local step
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove "$(screen_x $(($1 + ($3 - $1) * step / 8)))" "$(screen_y $(($2 + ($4 - $2) * step / 8)))"
    sleep 0.05 # a frame or so between moves, as a hand moves
  done
  xdotool mouseup 1
}
line() { wait_for_line "${2:-10}" "$log" "$1"; }
# lines_of PATTERN: how many lines of the log match.
lines_of() { grep -c -- "$1" "$log" 2> /dev/null || true; }
# nth_line N PATTERN SECONDS: waits for the Nth line matching and prints it.
nth_line() {
  have_nth() { (($(lines_of "$2") >= $1)); }
  wait_for "$3" have_nth "$1" "$2" || return 1
  grep -m"$1" -- "$2" "$log" | tail -1
}

# OCR: one thread (its thread pool crawls on a loaded machine).
export OMP_THREAD_LIMIT=1
# ocr_text IMAGE [CROP [PSM [-negate]]]: the words tesseract reads in the screenshot's game window (or in the
# crop "WxH+X+Y" given in logical pixels, read as one line), on one line. The picture is enlarged
# first: the game's small print reads better. Light text on a dark ground (buttons) reads only in a
# crop that holds nothing but that ground.
ocr_text() {
  local image=$1 crop=${2:-} psm=${3:-3} variant=${4:-}
  local source="$image[$(span 1024)x$(span 768)+$origin_x+$origin_y]"
  if [[ -n "$crop" ]]; then
    local w h x y
    IFS='x+' read -r w h x y <<< "$crop"
    source="$image[$(span "$w")x$(span "$h")+$(screen_x "$x")+$(screen_y "$y")]"
    psm=${3:-7}
  fi
  # shellcheck disable=SC2086 # the variant is one option or none
  convert "$source" +repage -resize 200% -colorspace Gray $variant "${image%.png}.ocr.png" 2> /dev/null || return 1
  tesseract "${image%.png}.ocr.png" stdout --psm "$psm" 2> /dev/null | tr '\n' ' '
}
# words_in TEXT WORD...: fails with the words TEXT lacks (case-insensitive) in missing_words.
words_in() {
  local text=$1 word
  shift
  missing_words=()
  for word in "$@"; do
    grep -qiF -- "$word" <<< "$text" || missing_words+=("$word")
  done
  ((${#missing_words[@]} == 0))
}
# expect_words IMAGE WORD...: OCR of the screenshot finds every word; fails with what it read
# otherwise.
expect_words() {
  local image=$1 text
  shift
  text=$(ocr_text "$image")
  words_in "$text" "$@" && return 0
  text="$text $(ocr_text "$image" "" 11)" # sparse text: scattered labels
  words_in "$text" "$@" && return 0
  fail "$(basename "$image"): OCR misses ${missing_words[*]} in: $text"
  return 1
}
# expect_button_words IMAGE WINDOW ID WORD...: OCR of the middle of a button finds the words.
expect_button_words() {
  local image=$1 text
  button_place "$2" "$3"
  shift 3
  text=$(ocr_text "$image" "150x36+$((place_x - 75))+$((place_y - 18))")
  words_in "$text" "$@" && return 0
  fail "$(basename "$image"): OCR misses ${missing_words[*]} on the button: $text"
  return 1
}
# The level file: its cells, and each cell's centre as the board's layout places it (read_level
# PACK LEVEL sets cols, rows, cell_x, cell_y and picture, the indices of the picture's cells).
level_file=""
cell_x=()
cell_y=()
picture=()
read_level() {
  level_file=$resources/$1/$2.xml
  [[ -f "$level_file" ]] || give_up "no level file $level_file"
  local settings
  settings=$(grep -m1 '<settings ' "$level_file")
  read -r cw ch <<< "$(sed -n 's/.* elSize="\([^"]*\)".*/\1/p' <<< "$settings")"
  read -r cols rows <<< "$(sed -n 's/.* grid="\([^"]*\)".*/\1/p' <<< "$settings")"
  read -r bx by <<< "$(sed -n 's/.* block="\([^"]*\)".*/\1/p' <<< "$settings")"
  read -r sx sy <<< "$(sed -n 's/.* shiftBlock="\([^"]*\)".*/\1/p' <<< "$settings")"
  read -r px py <<< "$(sed -n 's/.* position="\([^"]*\)".*/\1/p' <<< "$settings")"
  # Field: whole blocks less a gap on each side of each block; the cells start a gap before it.
  read -r cell_ox cell_oy <<< "$(awk -v cw="$cw" -v ch="$ch" -v cols="$cols" -v rows="$rows" -v bx="$bx" \
    -v by="$by" -v sx="$sx" -v sy="$sy" -v px="$px" -v py="$py" '
    function blocks(n, b) { return b == 0 ? 0 : int(n / b) + (n % b != 0) }
    BEGIN {
      nx = blocks(cols, bx); ny = blocks(rows, by)
      fw = nx * cw * bx - (nx + 1) * sx; fh = ny * ch * by - (ny + 1) * sy
      printf "%g %g\n", px - fw * 0.5 - sx, py - fh * 0.5 - sy
    }')"
  local types
  types=$(grep -o '<cell type="[0-9]*"' "$level_file" | grep -o '[0-9]*')
  (($(wc -l <<< "$types") == cols * rows)) || give_up "$level_file holds $(wc -l <<< "$types") cells, want $((cols * rows))"
  local i=0 type
  cell_x=()
  cell_y=()
  picture=()
  for type in $types; do
    local c=$((i % cols)) r=$((i / cols))
    local gx=$((bx > 0 ? c / bx : 0)) gy=$((by > 0 ? r / by : 0))
    cell_x+=("$(awk -v o="$cell_ox" -v v=$((c * cw - gx * sx + cw / 2)) 'BEGIN { printf "%d", o + v }')")
    cell_y+=("$(awk -v o="$cell_oy" -v v=$((r * ch - gy * sy + ch / 2)) 'BEGIN { printf "%d", o + v }')")
    [[ $type == 100 ]] && picture+=("$i")
    i=$((i + 1))
  done
}
cell_open() {
  local image
  image=$(shot cell) && (($(count_near "$image" "${cell_x[$1]}" "${cell_y[$1]}" 4 "${ink:-2E3A59}" 24) >= 40))
}

# The save (players.xml): a level's param, a statistic's value, an item's count, the hearts.
level_param() {
  awk -v level="$2" -v key="$3" '/<level name=/ { inside = index($0, "name=\"" level "\"") > 0 }
    inside && index($0, "key=\"" key "\"") { sub(/.*value="/, ""); sub(/".*/, ""); print; exit }' "$1"
}
player_value() {
  awk -v key="$2" 'index($0, "key=\"" key "\"") { sub(/.*value="/, ""); sub(/".*/, ""); print; exit }' "$1"
}
item_count() { awk -v name="$2" 'index($0, "<item name=\"" name "\"") { sub(/.*count="/, ""); sub(/".*/, ""); print; exit }' "$1"; }
health_count() { awk '/<health / { sub(/.* count="/, ""); sub(/".*/, ""); print; exit }' "$1"; }

stop_game() {
  kill -TERM "$scene_pid" 2> /dev/null || true
  wait "$scene_pid" 2> /dev/null || true
  scene_pid=""
}

# crop_of IMAGE X Y W H OUT: the logical rectangle centred at X Y cut out of a screenshot.
crop_of() {
  convert "$1[$(span "$4")x$(span "$5")+$(screen_x $(($2 - $4 / 2)))+$(screen_y $(($3 - $5 / 2)))]" +repage "$6" 2> /dev/null
}
# still_at X Y W H: the rectangle looks the same in two screenshots a few frames apart (a window
# fading or sliding in has reached its place and strength).
still_at() {
  local a b diff
  a=$(shot still_a) || return 1
  sleep 0.2
  b=$(shot still_b) || return 1
  crop_of "$a" "$1" "$2" "$3" "$4" "${a%.png}.crop.png" || return 1
  crop_of "$b" "$1" "$2" "$3" "$4" "${b%.png}.crop.png" || return 1
  diff=$(compare -metric AE -fuzz 2% "${a%.png}.crop.png" "${b%.png}.crop.png" null: 2>&1 || true)
  [[ "${diff%% *}" =~ ^[0-9]+$ ]] && ((${diff%% *} == 0))
}
# settled WINDOW ID: waits until the window's control ID stands still (the window is shown).
settled() {
  widget_place "$1" "$2"
  wait_for 8 still_at "$place_x" "$place_y" 120 40 || give_up "\"$1\" never settled"
  rm -f "$work_dir/$case_name"/still_*.png
}
