#!/usr/bin/env bash
# Real sound through OpenAL Soft's wave-file backend (no sound hardware): e2e_sound_play plays a
# streamed piece to its end, an effect decoded whole, sixteen voices plus a refused seventeenth,
# and the "music" playlist; the recording is then checked for what sounded when. A second
# recording of mono and stereo pieces of the same tone checks that every sound plays centred at
# its own level. A last run with no usable backend checks that everything runs on without a device.
# Usage: sound_e2e.sh RUN_DIR WORK_DIR
set -euo pipefail
run_dir=$1
work_dir=$2
rm -rf "$work_dir"
mkdir -p "$work_dir"
program="$run_dir/e2e_sound_play"

# OpenAL Soft configuration that records into the file $2, written as $1.
write_conf() {
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
write_conf "$work_dir/alsoft.conf" "$work_dir/recording.wav"
write_conf "$work_dir/balance.conf" "$work_dir/balance.wav"

failures=0

echo "== playing into $work_dir/recording.wav"
if ! ALSOFT_CONF="$work_dir/alsoft.conf" ALSOFT_DRIVERS=wave "$program" play "$work_dir/game"; then
  echo "FAIL: the playing run" >&2
  failures=$((failures + 1))
fi

echo "== checking the recording"
if ! "$program" analyze "$work_dir/recording.wav"; then
  echo "FAIL: the recording" >&2
  failures=$((failures + 1))
fi

echo "== mono and stereo into $work_dir/balance.wav"
if ! ALSOFT_CONF="$work_dir/balance.conf" ALSOFT_DRIVERS=wave "$program" balance "$work_dir/balance.wav"; then
  echo "FAIL: mono and stereo levels" >&2
  failures=$((failures + 1))
fi

echo "== no sound device"
if ! ALSOFT_CONF=/dev/null ALSOFT_DRIVERS=no-such-backend "$program" nodevice "$work_dir/nodevice"; then
  echo "FAIL: the run without a device" >&2
  failures=$((failures + 1))
fi

if ((failures > 0)); then
  echo "sound e2e: $failures failure(s)" >&2
  exit 1
fi
echo "sound e2e: passed"
