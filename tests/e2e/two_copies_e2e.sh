#!/usr/bin/env bash
# Two copies of the real game over one save folder, under Xvfb:
#   - a first copy starts on a save folder whose players.xml is an HTML page: the file is moved
#     aside byte for byte as players.xml.bad and the player is told so once (the message box's
#     text on stderr), naming the file, the copy and that the game goes on with defaults;
#   - a second copy started while the first runs says that the game is already running and ends
#     with a non-zero status, without a window, before the first's folder changes in any byte;
#   - the first copy killed with SIGKILL, a third start takes the folder at once and runs.
# Usage: two_copies_e2e.sh RUN_DIR WORK_DIR
set -euo pipefail
run_dir=$(cd "$1" && pwd)
mkdir -p "$2"
work_dir=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_lib.sh"
export QUORVEL_NO_MESSAGEBOX=1
export ALSOFT_DRIVERS=null

launched=()
# Every copy started here ends with the test.
stop_copies() {
  local copy
  for copy in "${launched[@]}"; do kill -9 "$copy" 2> /dev/null || true; done
  e2e_cleanup || true
}
trap stop_copies EXIT
rm -rf "${work_dir:?}/xdg"
saves=$work_dir/xdg/quorvel
mkdir -p "$saves"
start_xvfb 1280x1024

# launch NAME: a copy of the game over the shared folder, its output in NAME.log; sets pid.
launch() {
  (cd "$run_dir" && XDG_DATA_HOME="$work_dir/xdg" QUORVEL_TRACE=1 exec ./quorvel) > "$work_dir/$1.log" 2>&1 &
  pid=$!
  launched+=("$pid")
}
# folder_state: every file of the save folder with its checksum, the lock file included.
folder_state() { (cd "$saves" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
# ended PID: the process has ended (its status not yet collected counts as ended).
ended() { ! scene_pid=$1 scene_alive; }

# --- the first copy, over a save that is no player list
case_name=first
page='<html><body><p>Not the saves</p></body></html>'
printf '%s' "$page" > "$saves/players.xml"
launch first
scene_pid=$pid
first_pid=$pid
wait_for_line 60 "$work_dir/first.log" 'quorvel-trace: running' > /dev/null || {
  fail "the first copy never ran"
  dump_scene "$work_dir/first.log"
  exit 1
}
[[ "$(cat "$saves/players.xml.bad" 2> /dev/null)" == "$page" ]] || fail "players.xml.bad does not hold the page as it was"
told=$(grep -c "could not be read" "$work_dir/first.log" || true)
grep -q "The save file $saves/players.xml could not be read" "$work_dir/first.log" || fail "the unreadable save was not told"
grep -q "moved to $saves/players.xml.bad" "$work_dir/first.log" || fail "where the copy is kept was not told"
grep -q "goes on with the default" "$work_dir/first.log" || fail "that the game goes on with defaults was not told"
# The stderr line of the move, and the message once.
((told == 2)) || fail "the unreadable save was told $told times, not once beside its stderr line"
# The game has written its new players.xml (a new player's) by now or writes it at exit; what
# counts is that the second copy changes nothing.
before=$(folder_state)

# --- the second copy, while the first runs
case_name=second
started=$(date +%s%N)
launch second
second_pid=$pid
if ! wait_for 20 ended "$second_pid"; then
  fail "the second copy did not end by itself"
  kill -9 "$second_pid"
fi
status=0
wait "$second_pid" || status=$?
echo "two copies e2e: the second copy ended in $((($(date +%s%N) - started) / 1000000)) ms with status $status"
((status != 0)) || fail "the second copy ended with status 0"
grep -q "already running" "$work_dir/second.log" || fail "the second copy did not say that the game is already running"
grep -q "quorvel-trace: running" "$work_dir/second.log" && fail "the second copy ran"
scene_pid=$first_pid
scene_alive || fail "the first copy did not survive the second"
[[ "$(folder_state)" == "$before" ]] || fail "the second copy changed the save folder"

# --- the first copy killed: the next start takes the folder at once
case_name=after_kill
kill -9 "$first_pid"
wait "$first_pid" 2> /dev/null || true
launch third
scene_pid=$pid
wait_for_line 60 "$work_dir/third.log" 'quorvel-trace: running' > /dev/null || {
  fail "the copy after the kill never ran"
  dump_scene "$work_dir/third.log"
}
grep -q "already running" "$work_dir/third.log" && fail "the folder of the killed copy was still held"
grep -q "could not be read" "$work_dir/third.log" && fail "the killed copy's saves could not be read"
[[ -f "$saves/players.xml.bad.1" ]] && fail "a second copy of a save was kept"

if ((failures > 0)); then
  echo "two copies e2e: $failures failed checks; logs in $work_dir" >&2
  exit 1
fi
echo "two copies e2e: passed"
