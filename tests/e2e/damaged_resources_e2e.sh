#!/usr/bin/env bash
# Damaged content: in copies of the run folder, one picture, font description, layout, sound or
# level file at a time is removed or replaced (by garbage, or a picture by a few bytes whose header
# claims 16384 x 16384 pixels). The game either runs to its title naming the file on stderr, or
# stops with the load error naming the file; never a crash or a sanitizer report, and at the title
# never more than 10 % more memory (peak resident) than a clean start of the same run. The cases
# start together; each is judged on its own log.
set -euo pipefail
run_dir=$1
work_dir=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_lib.sh"
export QUORVEL_NO_MESSAGEBOX=1 QUORVEL_TRACE=1 ALSOFT_DRIVERS=null
rm -rf "$work_dir"
mkdir -p "$work_dir"
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill -9 "$pid" 2> /dev/null || true; done
  stop_xvfb
}
trap cleanup EXIT
start_xvfb 1280x1024

garbage() { printf 'this is no file of its kind\n' > "$1"; }
# A 70-byte BMP whose header claims 16384 x 16384 pixels of 24 bits.
forged_picture() {
  printf 'BM\x46\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x00\x40\x00\x00\x00\x40\x00\x00\x01\x00\x18\x00' > "$1"
  head -c 42 /dev/zero >> "$1"
}

# name | what is done to which file (below Resources) | expected: runs, stops, or either
cases=(
  "clean|none||runs"
  "picture_garbage|garbage|data/share/title/solving.png|runs"
  "picture_forged|forged_picture|data/share/title/solving.png|runs"
  "font_missing|rm -f|data/share/font/bold22.xml|runs"
  "font_garbage|garbage|data/share/font/title48.xml|runs"
  "layout_garbage|garbage|data/share/layouts/packs_grid.xml|either"
  "sound_missing|rm -f|data/share/sound/buttonclick.ogg|runs"
  "sound_garbage|garbage|data/share/music/01_paper_morning.ogg|runs"
  "level_missing|rm -f|pack01/level03.xml|stops"
  "level_garbage|garbage|pack01/level03.xml|stops"
)

for entry in "${cases[@]}"; do
  IFS='|' read -r name action file expect <<< "$entry"
  folder=$work_dir/$name
  mkdir -p "$folder/xdg"
  cp -a "$run_dir/quorvel" "$run_dir/Resources" "$folder/"
  [[ -d "$run_dir/icons" ]] && cp -a "$run_dir/icons" "$folder/"
  [[ "$action" == none ]] || $action "$folder/Resources/$file"
  level=()
  # A damaged level is read when it starts: this case starts it at once.
  [[ "$name" == level_garbage ]] && level=(QUORVEL_TEST_LEVEL=pack01.level03)
  (cd "$folder" && exec env XDG_DATA_HOME="$folder/xdg" "${level[@]}" ./quorvel > "$folder/game.log" 2>&1) &
  pids+=($!)
done

# The peak resident memory (kB) of a process.
peak_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status" 2> /dev/null; }
ended() { ! kill -0 "$1" 2> /dev/null || [[ "$(awk '{ sub(/^.*\) /, ""); print $1 }' "/proc/$1/stat" 2> /dev/null)" == Z ]]; }
at_title_or_ended() { grep -qs 'quorvel-trace: window opened Title' "$1" || ended "$2"; }

declare -A peak status
for i in "${!cases[@]}"; do
  IFS='|' read -r name action file expect <<< "${cases[$i]}"
  pid=${pids[$i]}
  log=$work_dir/$name/game.log
  case_name=$name
  wait_for 120 at_title_or_ended "$log" "$pid" || fail "neither the title nor an end within 120 s"
  if ended "$pid"; then
    status[$name]=0
    wait "$pid" || status[$name]=$?
  else
    peak[$name]=$(peak_kb "$pid")
    kill -TERM "$pid"
    status[$name]=0
    wait "$pid" || status[$name]=$?
  fi
done

clean_peak=${peak[clean]:-}
[[ -n "$clean_peak" ]] || { case_name=clean fail "the clean start did not reach the title"; }
for entry in "${cases[@]}"; do
  IFS='|' read -r name action file expect <<< "$entry"
  case_name=$name
  log=$work_dir/$name/game.log
  if grep -qE 'Sanitizer|runtime error:|Segmentation|Aborted|terminate called' "$log"; then
    fail "a crash or sanitizer report:"$'\n'"$(tail -n 20 "$log")"
  fi
  if [[ "$expect" == either ]]; then
    [[ -n "${peak[$name]:-}" ]] && expect=runs || expect=stops
  fi
  if [[ "$expect" == runs ]]; then
    [[ -n "${peak[$name]:-}" ]] || { fail "did not run to the title (status ${status[$name]})"$'\n'"$(tail -n 5 "$log")"; continue; }
    [[ "${status[$name]}" == 0 ]] || fail "ended with status ${status[$name]} after SIGTERM"
    if [[ -n "$file" ]]; then
      grep -qF "quorvel: cannot read Resources/$file" "$log" || fail "stderr does not name Resources/$file"
    else
      unreadable=$(grep -F 'quorvel: cannot read' "$log" || true)
      [[ -z "$unreadable" ]] || fail "the clean start reports files:"$'\n'"$unreadable"
    fi
    if [[ -n "$clean_peak" ]]; then
      echo "$name: peak resident ${peak[$name]} kB (clean ${clean_peak} kB)"
      ((peak[$name] * 10 <= clean_peak * 11)) || fail "peak resident ${peak[$name]} kB is over 110 % of ${clean_peak} kB"
    fi
  else
    [[ "${status[$name]}" == 255 ]] || fail "status ${status[$name]}, want the load error's 255"$'\n'"$(tail -n 5 "$log")"
    grep -q 'Ошибка загрузки.*Resources/'"$file" "$log" || fail "the load error does not name Resources/$file"
  fi
done

((failures == 0)) || exit 1
echo "damaged resources: ok"
