#!/usr/bin/env bash
# The game's start-up loads over the built run folder, without a window (start_loads.cpp): the
# shipped packs by kind with their levels, the trophies, the store's items, every advertising
# network refused, the window list.
set -euo pipefail
run_dir=$1
work_dir=$2
mkdir -p "$work_dir"
rm -rf "$work_dir/xdg"
mkdir -p "$work_dir/xdg"
cd "$run_dir"
status=0
XDG_DATA_HOME=$work_dir/xdg QUORVEL_NO_MESSAGEBOX=1 ALSOFT_DRIVERS=null ./e2e_start_loads > "$work_dir/loads.log" 2>&1 ||
  status=$?
grep -v 'TWindow_TutorialStep' "$work_dir/loads.log" || true
((status == 0)) || { echo "start loads failed (status $status)" >&2; exit 1; }
