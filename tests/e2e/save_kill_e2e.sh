#!/usr/bin/env bash
# Saves under SIGKILL: e2e_save_kill_driver saves the player list, the user settings and one
# binary profile round after round into one folder, and is killed after a random delay, 1000
# times over the same folder. After every kill the driver's checker reads each file with the
# game's loaders: each must hold the whole state of the round last reported complete or of the
# next one, and no ".bad" file may ever appear. No X display is needed.
# Usage: save_kill_e2e.sh RUN_DIR WORK_DIR
# SAVE_KILL_SEED repeats a run (its seed is printed); SAVE_KILL_COUNT changes the number of kills.
set -euo pipefail
run_dir=$1
work_dir=$2
driver="$run_dir/e2e_save_kill_driver"
kills=${SAVE_KILL_COUNT:-1000}
seed=${SAVE_KILL_SEED:-$(( $(date +%s%N) % 32768 ))}
# Delays up to a bit more than one round (a round writes three files, each synced twice).
max_delay_ms=${SAVE_KILL_MAX_DELAY_MS:-80}
rm -rf "$work_dir"
mkdir -p "$work_dir/saves"
echo "save kill e2e: seed $seed, $kills kills, delays 0 to $max_delay_ms ms"
RANDOM=$seed

driver_pid=""
cleanup() { [[ -n "$driver_pid" ]] && kill -9 "$driver_pid" 2> /dev/null && wait "$driver_pid" 2> /dev/null; true; }
trap cleanup EXIT

last=0
ahead=0
temporary=0
rounds_before=0
start=$SECONDS
for ((kill_number = 1; kill_number <= kills; kill_number++)); do
  delay=$((RANDOM % (max_delay_ms + 1)))
  "$driver" run "$work_dir/saves" $((last + 1)) > "$work_dir/driver.out" 2> "$work_dir/driver.err" &
  driver_pid=$!
  sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  kill -9 "$driver_pid" 2> /dev/null || true
  status=0
  wait "$driver_pid" 2> /dev/null || status=$?
  driver_pid=""
  if ((status != 137)); then
    echo "FAIL: kill $kill_number (delay $delay ms): the driver ended by itself with status $status" >&2
    cat "$work_dir/driver.err" >&2
    exit 1
  fi
  reported=$(sed -n 's/^round \([0-9][0-9]*\) complete$/\1/p' "$work_dir/driver.out" | tail -n 1)
  [[ -n "$reported" ]] && last=$reported
  if ! verdict=$("$driver" check "$work_dir/saves" "$last"); then
    echo "FAIL: kill $kill_number (seed $seed, delay $delay ms):" >&2
    echo "$verdict" >&2
    ls -la "$work_dir/saves" >&2
    exit 1
  fi
  [[ "$verdict" == *ahead* ]] && ahead=$((ahead + 1))
  [[ "$verdict" == *tmp* ]] && temporary=$((temporary + 1))
done
echo "save kill e2e: passed: $kills kills in $((SECONDS - start)) s, $last rounds saved;" \
  "$ahead kills after a file of an unreported round was in place, $temporary with a cut-off temporary file left"
