# Shared helpers for the end-to-end scripts: a private Xvfb display, waits with a deadline and
# pixel checks.
# Usage: source this file, `trap e2e_cleanup EXIT`, then start_xvfb WIDTHxHEIGHT; keep the program
# under test in scene_pid so that it never outlives the test, and count failed checks with fail.
# Wait for what a check needs (a window mapped, a line printed, a pixel drawn) with wait_for, never
# with a fixed sleep.

scene_pid=""
failures=0

fail() {
  echo "FAIL${case_name:+ [$case_name]}: $*" >&2
  failures=$((failures + 1))
}

e2e_cleanup() {
  [[ -n "$scene_pid" ]] && kill "$scene_pid" 2> /dev/null && wait "$scene_pid" 2> /dev/null
  stop_xvfb
}

# wait_for SECONDS COMMAND [ARG...]: runs the command until it succeeds, every tenth of a second,
# for at most SECONDS (fractions allowed). Succeeds as soon as the command does; fails when the
# deadline passes first, or when the program under test (scene_pid, when set) has ended and the
# command fails once more after that.
wait_for() {
  local seconds=$1
  shift
  local deadline
  deadline=$(($(date +%s%N) / 1000000 + $(awk -v s="$seconds" 'BEGIN { printf "%d", s * 1000 }')))
  while true; do
    "$@" && return 0
    if [[ -n "${scene_pid:-}" ]] && ! scene_alive; then
      "$@"
      return
    fi
    (($(date +%s%N) / 1000000 < deadline)) || return 1
    sleep 0.1
  done
}

# scene_alive: the program under test still runs. One that has ended but was not yet waited for
# (a zombie) counts as ended: kill -0 alone would still reach it.
scene_alive() {
  local state
  state=$(awk '{ sub(/^.*\) /, ""); print $1 }' "/proc/$scene_pid/stat" 2> /dev/null) || return 1
  [[ -n "$state" && "$state" != Z && "$state" != X ]]
}

# dump_scene LOG: what a stuck or vanished program under test was doing, on stderr: its output
# (LOG), whether it still runs, the X windows there are, and each thread's stack (gdb) when it runs.
dump_scene() {
  echo "--- output of the program under test:" >&2
  cat "$1" >&2 2> /dev/null || true
  if scene_alive; then
    echo "--- it still runs; windows on the display:" >&2
    xwininfo -root -tree 2> /dev/null | grep -v '^ *$' | head -n 40 >&2 || true
    echo "--- its threads:" >&2
    timeout 60 gdb -p "$scene_pid" -batch -nx -ex "thread apply all bt" 2> /dev/null |
      grep -E '^(Thread|#)' >&2 || true
  else
    echo "--- it has ended" >&2
  fi
}

# wait_for_line SECONDS FILE PATTERN: prints the first line of FILE matching the grep PATTERN once
# there is one; prints nothing (and fails) when none comes in time.
wait_for_line() {
  local seconds=$1 file=$2 pattern=$3
  wait_for "$seconds" grep -qs -m1 -- "$pattern" "$file" || return 1
  grep -s -m1 -- "$pattern" "$file"
}

# wait_for_window SECONDS NAME_PATTERN: prints the id of the first X window whose name matches.
wait_for_window() {
  local seconds=$1 pattern=$2
  wait_for "$seconds" window_exists "$pattern" || return 1
  xdotool search --name "$pattern" 2> /dev/null | head -n 1
}

window_exists() {
  [[ -n "$(xdotool search --name "$1" 2> /dev/null | head -n 1)" ]]
}

# xvfb_settled NUMBER_FILE: the server has written its display number, or has given up.
xvfb_settled() {
  [[ -n "$(tr -dc '0-9' < "$1")" ]] || ! kill -0 "$XVFB_PID" 2> /dev/null
}

start_xvfb() {
  local size=$1
  # Xvfb picks a free display itself and writes its number to the given descriptor, so parallel
  # runs (and servers in other file-system roots, whose sockets we cannot see) never collide.
  local number_file
  number_file=$(mktemp)
  # -noreset: by default the server resets whenever its last client leaves. The checks connect
  # and leave all the time (xdotool, import), and a program connecting during such a reset runs on
  # with its window gone from the display.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3> "$number_file" > /dev/null 2>&1 &
  XVFB_PID=$!
  wait_for 10 xvfb_settled "$number_file" || true
  local number
  number=$(tr -dc '0-9' < "$number_file")
  rm -f "$number_file"
  [[ -n "$number" ]] || { echo "Xvfb did not start" >&2; return 1; }
  XVFB_DISPLAY=":$number"
  export DISPLAY=$XVFB_DISPLAY
  export LIBGL_ALWAYS_SOFTWARE=1
  # Fewer rasteriser threads: the software renderer otherwise wakes eight threads per frame.
  export LP_NUM_THREADS=${LP_NUM_THREADS:-2}
  return 0
}

stop_xvfb() {
  [[ -n "${XVFB_PID:-}" ]] && kill "$XVFB_PID" 2> /dev/null && wait "$XVFB_PID" 2> /dev/null
  XVFB_PID=""
}

# screen_trace_faults LOG: the trace lines that mean a player saw something wrong: a window file of a
# type nobody knows, a window name nobody holds, a raw string key drawn, a character a font lacks,
# a file the content names that cannot be read.
screen_trace_faults() {
  grep -E 'quorvel-trace: (unknown window|raw key|missing glyph|unreadable file)' "$1" 2> /dev/null || true
}

# expect_clean_trace LOG...: one failed check per log that holds such lines, printing them.
expect_clean_trace() {
  local log faults
  for log in "$@"; do
    faults=$(screen_trace_faults "$log")
    [[ -z "$faults" ]] || fail "$log: what a player must never see:"$'\n'"$faults"
  done
}

# pixel_of IMAGE X Y -> "RRGGBB" (upper-case hex)
pixel_of() {
  convert "$1" -format "%[hex:p{$2,$3}]" info: 2> /dev/null | cut -c1-6
}

# expect_pixel IMAGE X Y RRGGBB [TOLERANCE] -> fails with a message when any channel is off by more.
expect_pixel() {
  local image=$1 x=$2 y=$3 want=$4 tol=${5:-8}
  local got
  got=$(pixel_of "$image" "$x" "$y")
  local i
  for i in 0 2 4; do
    local a=$((16#${got:$i:2})) b=$((16#${want:$i:2}))
    local d=$((a > b ? a - b : b - a))
    if ((d > tol)); then
      echo "pixel ($x,$y) of $(basename "$image"): got #$got, want #$want" >&2
      return 1
    fi
  done
  return 0
}

# is_paper IMAGE X Y: the game's paper background there (its paper, up to the lighter paper of the
# background's middle and of the title card).
is_paper() {
  local got
  got=$(pixel_of "$1" "$2" "$3")
  [[ -n "$got" ]] || return 1
  ((16#${got:0:2} >= 0xF1 && 16#${got:0:2} <= 0xFE && 16#${got:2:2} >= 0xEC && 16#${got:2:2} <= 0xFB &&
    16#${got:4:2} >= 0xE3 && 16#${got:4:2} <= 0xF5))
}

# game_running WINDOW IMAGE: a screenshot of the 1024 x 768 game window, taken into IMAGE, shows the
# running game's paper background where the title card and the loading screen's logo and grid lie,
# so the loading screen has handed over.
game_running() {
  import -window "$1" "$2" 2> /dev/null || return 1
  local point
  for point in "452 195" "285 280" "512 480" "512 384"; do
    is_paper "$2" $point || return 1
  done
}
