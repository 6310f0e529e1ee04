#!/usr/bin/env bash
# Every benchmark under bench/, from the Release build in build/release (built here as far as
# needed), run RUNS times (default 5) one after the other; then, for each figure a program prints
# against its goal (a line with "ratio" or "goal"), the median of the runs beside every run's value,
# and the machine's load average before and after. Not part of scripts/test.sh: run it on a quiet
# machine.
#
# Usage: scripts/bench.sh [RUNS] [JOBS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
jobs=${2:-$(nproc)}
bash "$root/scripts/deps.sh" test

build=$root/build/release
echo "== Release build with the benchmarks"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_BENCH=ON > /dev/null
cmake --build "$build" -j "$jobs" > /dev/null
export QUORVEL_NO_MESSAGEBOX=1 ALSOFT_DRIVERS=null

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
programs=$(find "$build/bench" -maxdepth 1 -type f -name 'bench_*' -perm -u+x | sort)
for run in $(seq "$runs"); do
  for program in $programs; do
    name=$(basename "$program")
    echo "== $name, run $run of $runs"
    (cd "$build" && "$program" > "$out/$name.$run.log" 2>&1) || { cat "$out/$name.$run.log" >&2; exit 1; }
    if grep -q 'ERROR OCCURRED' "$out/$name.$run.log"; then
      grep 'ERROR OCCURRED' "$out/$name.$run.log" >&2
      exit 1
    fi
  done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

echo
echo "== Figures: median of $runs runs (each run's value in brackets)"
for program in $programs; do
  name=$(basename "$program")
  # Each figure line: the text up to its first number is its name, the number its value.
  cat "$out/$name".*.log | sed 's/\x1b\[[0-9;]*m//g' | grep -E 'ratio|goal:' | grep -v -E '^(goal:|BM_|Benchmark)' |
    awk -v runs="$runs" '
      match($0, /[0-9]+\.[0-9]+/) {
        key = substr($0, 1, RSTART - 1); value = substr($0, RSTART, RLENGTH)
        rest = substr($0, RSTART + RLENGTH)
        if (!(key in count)) { order[++n] = key; tail[key] = rest }
        values[key, ++count[key]] = value
      }
      END {
        for (i = 1; i <= n; i++) {
          k = order[i]; c = count[k]
          for (a = 1; a <= c; a++) v[a] = values[k, a]
          for (a = 1; a <= c; a++) for (b = a + 1; b <= c; b++) if (v[b] + 0 < v[a] + 0) { t = v[a]; v[a] = v[b]; v[b] = t }
          list = ""
          for (a = 1; a <= c; a++) list = list (a > 1 ? " " : "") values[k, a]
          sub(/ \(middle half.*\)/, "", tail[k])
          printf "%s%s%s  [%s]\n", k, v[int((c + 1) / 2)], tail[k], list
        }
      }'
done
echo "load average (1, 5, 15 minutes): before $load_before, after $load_after; $(nproc) processors"
