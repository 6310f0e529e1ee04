#!/usr/bin/env bash
# The yardsticks of scripts/perf.sh, under Xvfb:
# - launch_stamp writes a launch time no later than the started program's own clock reading, runs
#   the program in its own process (its exit status comes through), and refuses a missing program
#   (127) or missing arguments (2) without starting anything;
# - the bare window presents once and ends with status 0, and with --idle 1 presents at 60 frames a
#   second (55 to 62 presents), and refuses a bad argument.
set -euo pipefail
run_dir=$(cd "$1" && pwd)
work_dir=$2
mkdir -p "$work_dir"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb_lib.sh"
trap e2e_cleanup EXIT
start_xvfb 1024x768

stamp=$run_dir/e2e_launch_stamp
bare=$run_dir/e2e_bare_window

case_name=present
rm -f "$work_dir/launch"
"$stamp" "$work_dir/launch" "$bare" > "$work_dir/bare.log" 2>&1 || fail "status $? from the bare window"
launched=$(cat "$work_dir/launch" 2> /dev/null || true)
presented=$(awk '/^presented / { print $2 }' "$work_dir/bare.log")
if [[ -z "$launched" || -z "$presented" ]]; then
  fail "no times (launch \"$launched\", present \"$presented\")"
  cat "$work_dir/bare.log" >&2
elif ((presented < launched || presented - launched > 20000)); then
  fail "present at $presented, launch at $launched"
fi

case_name=status
status=0
"$stamp" "$work_dir/launch" sh -c 'exit 7' || status=$?
((status == 7)) || fail "the program's status 7 came back as $status"

case_name=refusals
for args in "$work_dir/launch" "$work_dir/launch $work_dir/no_such_program"; do
  status=0
  # shellcheck disable=SC2086
  "$stamp" $args 2> /dev/null || status=$?
  want=$([[ "$args" == *no_such_program ]] && echo 127 || echo 2)
  ((status == want)) || fail "launch_stamp $args: status $status, want $want"
done
for args in "--idle" "--idle x" "--idle -1" "--fast 1"; do
  status=0
  # shellcheck disable=SC2086
  "$bare" $args > /dev/null 2>&1 || status=$?
  ((status == 2)) || fail "bare window $args: status $status, want 2"
done

case_name=idle
"$bare" --idle 1 > "$work_dir/idle.log" 2>&1 || fail "status $? from the idle run"
frames=$(awk '/^frames / { print $2 }' "$work_dir/idle.log")
if [[ -z "$frames" ]] || ((frames < 55 || frames > 62)); then
  fail "${frames:-no} presents in one second at 60 a second"
fi

((failures == 0)) && echo "perf programs: ok"
exit $((failures == 0 ? 0 : 1))
