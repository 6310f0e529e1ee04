#!/usr/bin/env bash
# The configuration through the real game, each run with XDG_DATA_HOME at a fresh folder:
# - a desktop of 800 x 600 makes the game fullscreen, and after SIGTERM the user's "game.xml"
#   records it in a save folder of mode 0700;
# - profiles written by the test survive a start and a quit; a garbage "players.xml" is moved to
#   "players.xml.bad" byte for byte and named on stderr;
# - the border art lies above and below the logical screen on 1280 x 1024 and beside it on
#   1920 x 1080, and never over it;
# - without the editions file the game ends with the load-error message naming it.
set -euo pipefail
run_dir=$(cd "$1" && pwd)
work_dir=$2
mkdir -p "$work_dir"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_lib.sh"
export QUORVEL_NO_MESSAGEBOX=1
export ALSOFT_DRIVERS=null
trap e2e_cleanup EXIT

# fresh_case CASE: an empty folder for the case, with its empty save base $work_dir/CASE/xdg.
fresh_case() {
  case_name=$1
  rm -rf "${work_dir:?}/$1"
  mkdir -p "$work_dir/$1/xdg"
}

# start_game CASE [RUN_FOLDER]: the game in the run folder with XDG_DATA_HOME at the case's save
# base, its output in $work_dir/CASE/game.log.
start_game() {
  local case_dir=$work_dir/$1 from=${2:-$run_dir}
  (cd "$from" && XDG_DATA_HOME="$case_dir/xdg" exec "$run_dir/quorvel" > "$case_dir/game.log" 2>&1) &
  scene_pid=$!
}

# stop_game CASE: SIGTERM, then the exit status must be 0.
stop_game() {
  kill -TERM "$scene_pid"
  local status=0
  wait "$scene_pid" || status=$?
  scene_pid=""
  ((status == 0)) || { fail "exit status $status"; cat "$work_dir/$1/game.log" >&2; }
}

# The value of a "param" of a saved settings file.
param_of() {
  sed -n "s/.*key=\"$2\" value=\"\\([^\"]*\\)\".*/\\1/p" "$1"
}

# A pixel of the border art: the band colour or the pattern over it, or the seam (all light).
is_border_art() {
  local got
  got=$(pixel_of "$1" "$2" "$3")
  ((16#${got:0:2} >= 0x80 && 16#${got:2:2} >= 0x78 && 16#${got:4:2} >= 0x68))
}

# screen_shows IMAGE SPEC...: every spec is "X Y art" (border art there) or "X Y clear" (the
# logical screen's paper, no border art over it).
screen_shows() {
  local image=$1 spec x y what
  shift
  for spec in "$@"; do
    read -r x y what <<< "$spec"
    if [[ $what == art ]]; then
      is_border_art "$image" "$x" "$y" || return 1
    else
      is_paper "$image" "$x" "$y" || return 1
    fi
  done
}

# --- 800 x 600: too small for the window, so fullscreen, recorded in the user's settings.
fresh_case small-desktop
start_xvfb 800x600
start_game "$case_name"
# Bare Xvfb has no window manager to carry out the fullscreen request, so the window keeps its
# size; what the game chose is read from the settings it saves.
window=$(wait_for_window 20 '^Quorvel' || true)
[[ -n "$window" ]] || { fail "no game window"; dump_scene "$work_dir/$case_name/game.log"; }
stop_game "$case_name"
saved=$work_dir/$case_name/xdg/quorvel/game.xml
if [[ -f "$saved" ]]; then
  value=$(param_of "$saved" fullscreen)
  [[ "$value" == 1 || "$value" == true ]] || fail "game.xml holds fullscreen \"$value\""
  mode=$(stat -c %a "$(dirname "$saved")")
  [[ "$mode" == 700 ]] || fail "the save folder has mode $mode"
  [[ "$(grep -c '^	<param' "$saved")" -ge 5 ]] || fail "game.xml does not hold every setting"
else
  fail "no game.xml was saved"
fi
stop_xvfb

# --- Border art, with the user's settings asking for fullscreen. The logical screen is scaled to
# fit: on 1280 x 1024 it is 1280 x 960 from y = 32, on 1920 x 1080 it is 1440 x 1080 from x = 240.
border_case() {
  local size=$1
  shift
  fresh_case "borders-$size"
  mkdir -p "$work_dir/$case_name/xdg/quorvel"
  printf '<?xml version="1.0"?>\n<game>\n\t<param key="fullscreen" value="true" />\n</game>\n' \
    > "$work_dir/$case_name/xdg/quorvel/game.xml"
  start_xvfb "$size"
  start_game "$case_name"
  window=$(wait_for_window 20 '^Quorvel' || true)
  [[ -n "$window" ]] || {
    fail "no game window"
    dump_scene "$work_dir/$case_name/game.log"
    stop_game "$case_name"
    stop_xvfb
    return
  }
  # Fullscreen on the desktop asks the window manager to cover the screen, and bare Xvfb has
  # none: do what it would do.
  xdotool windowmove "$window" 0 0 windowsize "$window" "${size%x*}" "${size#*x}"
  local shot=$work_dir/$case_name/screen.png
  shows() { import -window root "$shot" 2> /dev/null && screen_shows "$shot" "$@"; }
  wait_for 15 shows "$@" || fail "the screen does not show the border art where expected (see $shot)"
  stop_game "$case_name"
  stop_xvfb
}
border_case 1280x1024 "640 8 art" "20 1016 art" "640 29 art" "640 40 clear" "640 512 clear" "4 40 clear" \
  "1275 985 clear" "640 984 clear" "640 1000 art"
border_case 1920x1080 "100 540 art" "1820 20 art" "236 540 art" "245 540 clear" "960 540 clear" \
  "245 4 clear" "1675 1075 clear" "1684 540 art"

# --- Profiles: two written by the test come back after a start and a quit, rewritten by the game
# with the same current player; a garbage file is moved aside byte for byte and the game runs on.
# (start_game CASE; wait for the window and for the loading screen to hand over, so the player
# list has been read; stop_game CASE)
run_briefly() {
  start_game "$1"
  window=$(wait_for_window 20 '^Quorvel' || true)
  [[ -n "$window" ]] || { fail "no game window"; dump_scene "$work_dir/$1/game.log"; }
  [[ -z "$window" ]] || wait_for 15 game_running "$window" "$work_dir/$1/running.png" || fail "the game did not start"
  stop_game "$1"
}
start_xvfb 1024x768
fresh_case profiles
players=$work_dir/$case_name/xdg/quorvel/players.xml
mkdir -p "$(dirname "$players")"
cat > "$players" << 'XML'
<?xml version="1.0"?>
<Players current="Zoë">
  <player name="Ann" sound_volume="40" music_volume="20" passed_tutorial="true" game_cursor="false" inapp_bought="false">
    <playeritems><item name="life" count="5"/></playeritems>
  </player>
  <player name="Zoë" sound_volume="80" music_volume="70" passed_tutorial="false" game_cursor="true" inapp_bought="true"/>
</Players>
XML
run_briefly "$case_name"
grep -q '^	<player ' "$players" || fail "players.xml was not written again by the game"
[[ "$(grep -c '<player ' "$players")" -eq 2 ]] || fail "players.xml does not hold two profiles"
grep -q '<Players current="Zoë"' "$players" || fail "the current player is not Zoë"
grep -q '<player name="Ann" sound_volume="40" music_volume="20" passed_tutorial="true"' "$players" ||
  fail "Ann's profile changed"
grep -q '<player name="Zoë".*inapp_bought="true"' "$players" || fail "Zoë's profile changed"

fresh_case garbage-profiles
players=$work_dir/$case_name/xdg/quorvel/players.xml
mkdir -p "$(dirname "$players")"
printf '<Players current="x"><player name="\001\377' > "$players"
cp "$players" "$work_dir/$case_name/garbage"
run_briefly "$case_name"
cmp -s "$work_dir/$case_name/garbage" "$players.bad" || fail "players.xml.bad is not the garbage file byte for byte"
grep -qF "$players.bad" "$work_dir/$case_name/game.log" || fail "stderr does not name players.xml.bad"
grep -q '<Players' "$players" 2> /dev/null || fail "no new players.xml after the quit"
stop_xvfb

# --- Without the editions file the game stops at once and names the file.
fresh_case no-editions
copy=$work_dir/$case_name/run
mkdir -p "$copy"
cp -r "$run_dir/Resources" "$copy/"
rm "$copy/Resources/data/share/main/other/editions.xml"
start_xvfb 1024x768
start_game "$case_name" "$copy"
game_ended() { ! kill -0 "$scene_pid" 2> /dev/null; }
wait_for 15 game_ended || { fail "the game did not end"; kill "$scene_pid"; }
status=0
wait "$scene_pid" || status=$?
scene_pid=""
((status != 0)) || fail "the game ended with status 0"
grep -q 'data/share/main/other editions.xml' "$work_dir/$case_name/game.log" ||
  { fail "stderr does not name the editions file"; cat "$work_dir/$case_name/game.log" >&2; }
stop_xvfb

((failures == 0)) || { echo "config: $failures check(s) failed" >&2; exit 1; }
echo "config: ok"
