#!/usr/bin/env bash
# The loading screen of the real game:
# - within the first second the title card splash is shown;
# - with the loader held (QUORVEL_TEST_HOLD_LOADER names a file the loader waits on), the screen
#   shows the paper background, the logo and the grid animation at their places, the grid moving;
# - a key press starts the splash's fade at once;
# - once the loader is let go, the title follows on paper with no moment darker than the paper (no
#   ink fade between the two screens), and SIGTERM ends the game with status 0;
# - SIGTERM while the loader is held ends the game within 2 seconds with status 0 and leaves a
#   prepared "players.xml" byte for byte as it was;
# - a start whose loader fails (a trophies file without trophies) ends after the loading screen with a
#   failing status and
#   leaves "players.xml" as it was.
set -euo pipefail
run_dir=$(cd "$1" && pwd)
work_dir=$2
mkdir -p "$work_dir"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_lib.sh"
export QUORVEL_NO_MESSAGEBOX=1
export ALSOFT_DRIVERS=null
trap e2e_cleanup EXIT

ink=2E3A59
card=FBF8F2        # the title card
paper=F4EFE6       # the loading background, lighter towards its middle
grid=8F8473        # the animation's grid lines (thin: blended, so matched loosely)

# fresh_case CASE: an empty folder for the case with its save base, and a prepared players.xml.
fresh_case() {
  case_name=$1
  rm -rf "${work_dir:?}/$1"
  mkdir -p "$work_dir/$1/xdg/quorvel"
  players=$work_dir/$1/xdg/quorvel/players.xml
  printf '<?xml version="1.0"?>\n<Players current="Ann">\n\t<player name="Ann" sound_volume="40" music_volume="20" passed_tutorial="false" game_cursor="true" inapp_bought="false"/>\n</Players>\n' > "$players"
  cp "$players" "$work_dir/$1/players.orig"
  hold=$work_dir/$1/hold
}

# start_game CASE [RUN_FOLDER] [HOLD]: the game with the case's save base; HOLD "hold" holds the loader.
# The game's window shows within a fraction of a second. Once in many runs under load it has not
# shown at all: the game's output, the windows and every thread's stack are then printed, and the
# start is tried once more, so that the cause can be read from the log.
start_game() {
  local from=${2:-$run_dir} hold_file="" attempt
  [[ "${3:-}" == hold ]] && { touch "$hold"; hold_file=$hold; }
  for attempt in 1 2; do
    (cd "$from" && XDG_DATA_HOME="$work_dir/$1/xdg" QUORVEL_TRACE=1 QUORVEL_TEST_HOLD_LOADER="$hold_file" exec "$run_dir/quorvel" \
      > "$work_dir/$1/game.log" 2>&1) &
    scene_pid=$!
    window=$(wait_for_window 20 '^Quorvel' || true)
    [[ -z "$window" ]] || return 0
    echo "WARNING [$1]: no game window after 20 s (start $attempt)" >&2
    dump_scene "$work_dir/$1/game.log"
    kill -KILL "$scene_pid" 2> /dev/null || true
    wait "$scene_pid" 2> /dev/null || true
    scene_pid=""
    cp "$work_dir/$1/players.orig" "$players"
  done
  fail "no game window"
  return 1
}

# stop_game: SIGTERM; prints the milliseconds until the game ended; status 0 wanted.
stop_game() {
  local start status=0
  start=$(date +%s%N)
  kill -TERM "$scene_pid"
  wait "$scene_pid" || status=$?
  scene_pid=""
  elapsed=$((($(date +%s%N) - start) / 1000000))
  ((status == 0)) || { fail "exit status $status"; grep -v TWindow_TutorialStep "$work_dir/$case_name/game.log" >&2; }
}

shot() { import -window "$window" "$work_dir/$case_name/$1.png" 2> /dev/null && echo "$work_dir/$case_name/$1.png"; }

# region_has IMAGE X Y W H RRGGBB [TOLERANCE]: some pixel of the region is that colour.
region_has() {
  local want=$6 tol=${7:-12}
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -depth 8 txt:- 2> /dev/null |
    awk -v r=$((16#${want:0:2})) -v g=$((16#${want:2:2})) -v b=$((16#${want:4:2})) -v tol="$tol" '
      function off(a, c) { return a > c ? a - c : c - a }
      NR > 1 { sub(/^[^(]*\(/, ""); split($0, v, /[,)]/)
               if (off(v[1], r) <= tol && off(v[2], g) <= tol && off(v[3], b) <= tol) found = 1 }
      END { exit found ? 0 : 1 }'  # reads to the end: no broken pipe under pipefail
}

# The card shows for a second: only the part with both points is grabbed, which is quick enough to
# catch it on a busy machine.
splash_shown() {
  local image=$work_dir/$case_name/splash.png
  import -window "$window" -crop 353x96+100+100 +repage "$image" 2> /dev/null &&
    expect_pixel "$image" 0 0 "$card" 4 2> /dev/null && expect_pixel "$image" 352 95 "$ink" 6 2> /dev/null
}
splash_gone() {
  local image
  image=$(shot after_key) && ! expect_pixel "$image" 452 195 "$ink" 40 2> /dev/null
}
# The loading screen itself: paper at the corners, the logo's picture and name, the grid.
loading_screen_shown() {
  local image
  image=$(shot held) || return 1
  is_paper "$image" 20 20 && is_paper "$image" 1000 740 && is_paper "$image" 512 384 &&
    expect_pixel "$image" 285 280 "$ink" 8 2> /dev/null && region_has "$image" 420 270 320 60 "$ink" 8 &&
    region_has "$image" 470 440 84 84 "$grid" 72
}

start_xvfb 1024x768

# --- The splash first, a key fades it at once, then the loading screen while the loader is held.
fresh_case held
start_game "$case_name" "" hold
wait_for 1 splash_shown || fail "no title card in the first second"
xdotool windowfocus "$window" 2> /dev/null || true
xdotool key space
key_time=$(date +%s%N)
# The splash stays 1 s unless skipped; its fade takes 0.2 s.
wait_for 1 splash_gone || fail "a key did not fade the splash"
echo "splash gone $((($(date +%s%N) - key_time) / 1000000)) ms after the key"
wait_for 5 loading_screen_shown || fail "the loading screen does not show its background, logo and grid (see $work_dir/$case_name/held.png)"
first=$(shot grid_a) && sleep 0.4 && second=$(shot grid_b)
changed=$(compare -metric AE -crop 84x84+470+440 "$first" "$second" null: 2>&1 || true)
[[ "${changed%% *}" =~ ^[0-9]+$ ]] && ((${changed%% *} > 0)) || fail "the grid animation does not move"

# Let the loader go: the title follows with paper all the while, never a moment of ink, until the
# game reports its running state.
rm -f "$hold"
dark=0
after=0 # shots since the running state began: the first frames of the title are looked at too
for _ in $(seq 120); do
  # One pixel a grab (a whole screenshot takes too long to catch a fade of a fraction of a second).
  got=$(import -window "$window" -crop 1x1+100+100 -format "%[hex:p{0,0}]" info: 2> /dev/null | cut -c1-6)
  [[ "$got" =~ ^[0-9A-Fa-f]{6}$ ]] || continue
  ((16#${got:0:2} < 0xE0)) && { dark=1; echo "hand-over: $got at 100,100" >&2; }
  grep -q 'quorvel-trace: running' "$work_dir/$case_name/game.log" 2> /dev/null && ((++after > 6)) && break
done
((after > 6)) || fail "the game did not reach its running state after the loader was let go"
((dark == 0)) || fail "the hand-over shows darker than the paper"
final=$(shot running)
for point in "20 20" "100 300" "100 480" "1000 740"; do # beside the title's own pictures
  is_paper "$final" $point || fail "after the hand-over ($point) is $(pixel_of "$final" $point), not paper"
done
stop_game
echo "stopped after ${elapsed} ms"

# --- SIGTERM while the loader holds: out within 2 s, players.xml untouched.
fresh_case quit-while-loading
start_game "$case_name" "" hold
wait_for 5 loading_screen_shown || true
stop_game
echo "quit while loading: ended after ${elapsed} ms"
((elapsed <= 2000)) || fail "took ${elapsed} ms to end while loading"
cmp -s "$players" "$work_dir/$case_name/players.orig" || fail "players.xml changed"

# --- A start whose loader fails ends after the loading screen; players.xml untouched.
fresh_case failing-loader
copy=$work_dir/$case_name/run
mkdir -p "$copy"
cp -r "$run_dir/Resources" "$copy/"
printf '<?xml version="1.0"?>\n<medals/>\n' > "$copy/Resources/data/share/main/other/trophies.xml"
start_game "$case_name" "$copy"
wait_for 1 splash_shown || fail "no title card before the failing start ends"
game_ended() { ! kill -0 "$scene_pid" 2> /dev/null; }
wait_for 15 game_ended || fail "the game did not end after its loader failed"
status=0
wait "$scene_pid" || status=$?
scene_pid=""
echo "failing loader: status $status"
((status != 0)) || fail "a failed start ended with status 0"
cmp -s "$players" "$work_dir/$case_name/players.orig" || fail "players.xml changed after the failed start"

stop_xvfb
((failures == 0)) || { echo "loading: $failures check(s) failed" >&2; exit 1; }
echo "loading: ok"
