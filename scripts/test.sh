#!/usr/bin/env bash
# Builds the normal, sanitizer and thread-sanitizer trees and runs every test: unit, end-to-end and
# fuzzing. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh" test

export QUORVEL_NO_MESSAGEBOX=1
jobs=$(nproc)

echo "== Layer check"
bash "$root/scripts/check_layers.sh" "$root"

echo "== Release build"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$root/build/release" -j "$jobs"

echo "== Sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S "$root" -B "$root/build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON > /dev/null
cmake --build "$root/build/asan" -j "$jobs"

echo "== ThreadSanitizer build"
cmake -S "$root" -B "$root/build/tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_TSAN=ON > /dev/null
cmake --build "$root/build/tsan" -j "$jobs" --target quorvel_tests

status=0
failed_stages=()
# A stage that fails is named again at the very end, with the tests ctest lists as failed, so that
# the last lines of a long log say what went wrong.
stage_failed() {
  local name=$1 tree=${2:-} log
  status=1
  failed_stages+=("$name")
  log=$tree/Testing/Temporary/LastTestsFailed.log
  if [[ -n "$tree" && -s "$log" ]]; then
    while IFS= read -r line; do failed_stages+=("  ${line#*:}"); done < "$log"
  fi
}

echo "== Unit and end-to-end tests (Release)"
(cd "$root/build/release" && ctest --output-on-failure -j "$jobs") ||
  stage_failed "Release unit and end-to-end tests" "$root/build/release"

echo "== Unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
(cd "$root/build/asan" &&
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure -j "$jobs") ||
  stage_failed "AddressSanitizer + UndefinedBehaviorSanitizer unit tests" "$root/build/asan"

echo "== Threaded tests under ThreadSanitizer"
# Every test that starts a thread (its own, the sound thread, the loader's, OpenAL's mixer) sits in
# a test suite whose name ends in "Threaded" ("ThreadedDeathTest" for death tests); see
# tests/CMakeLists.txt. This step runs exactly those: a new threaded test joins by its suite name.
# OpenAL Soft's own mixer thread is not ours to instrument; its accesses are suppressed.
(cd "$root/build/tsan" &&
  TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/sound/openal.tsan.supp" \
    ctest --output-on-failure -j "$jobs" -R 'Threaded(DeathTest)?\.') ||
  stage_failed "ThreadSanitizer threaded tests" "$root/build/tsan"

echo "== Fuzzing"
bash "$root/scripts/fuzz.sh" 30 "$root/build/release/run" || stage_failed "Fuzzing"

if [[ $status -ne 0 ]]; then
  echo "== Failed"
  printf '%s\n' "${failed_stages[@]}"
else
  echo "== All stages passed"
fi
exit $status
