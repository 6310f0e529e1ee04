#!/usr/bin/env bash
# The layer check: every #include "..." of our code may point only at its own folder or at a folder
# below it in the declared order. Prints file:line of each include that points up or sideways and
# exits 1 if there is any. Tests may include anything and are not checked.
set -euo pipefail
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root"

# Lowest first. A folder may include itself and every folder before it.
LAYERS=(
  engine/core
  engine/platform
  engine/resources
  engine/sound
  engine/graphics
  engine/bots
  engine/gui
  engine/windows
  engine/app
  game/config
  game/data
  game/gameplay
  game/ui
  game/app
  game/screens
  game/main
)
# The content builder and the benchmarks sit beside the stack: they may use the whole engine
# (and the benchmarks the game), never each other or the tests.
TOOLS_MAY=(engine/ tools/)
BENCH_MAY=(engine/ game/ bench/)

rank_of() {  # prints the layer index of a path (file or include target), or nothing
  local path=$1 i
  for i in "${!LAYERS[@]}"; do
    if [[ "$path" == "${LAYERS[$i]}/"* ]]; then
      echo "$i"
      return
    fi
  done
}

allowed_by_prefix() {  # target, prefixes...
  local target=$1 prefix
  shift
  for prefix in "$@"; do [[ "$target" == "$prefix"* ]] && return 0; done
  return 1
}

failures=0
report() {
  echo "$1: includes \"$2\", $3" >&2
  failures=$((failures + 1))
}

while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  target=$(sed -E 's/^[^"]*"([^"]+)".*$/\1/' <<<"${rest#*:}")
  # Only includes of our own folders are layered; a name without a folder is a neighbour or a
  # third-party header.
  case "$target" in
    engine/* | game/* | tools/* | bench/* | tests/*) ;;
    *) continue ;;
  esac
  case "$file" in
    tools/*)
      allowed_by_prefix "$target" "${TOOLS_MAY[@]}" || report "$file:$line" "$target" "which the content builder may not use"
      continue
      ;;
    bench/*)
      allowed_by_prefix "$target" "${BENCH_MAY[@]}" || report "$file:$line" "$target" "which a benchmark may not use"
      continue
      ;;
  esac
  from=$(rank_of "$file")
  to=$(rank_of "$target")
  if [[ -z "$from" ]]; then
    report "$file:$line" "$target" "but its folder has no place in the layer order (add it to scripts/check_layers.sh)"
  elif [[ -z "$to" ]]; then
    report "$file:$line" "$target" "which is not a layer below it"
  elif ((to > from)); then
    report "$file:$line" "$target" "which is a layer above it (${LAYERS[$to]} over ${LAYERS[$from]})"
  fi
done < <(git ls-files -co --exclude-standard -- engine game tools bench |
  grep -E '\.(h|hpp|cpp|cc)$' |
  xargs -r grep -nH -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' || true)

if ((failures > 0)); then
  echo "layer check: $failures include(s) against the layer order" >&2
  exit 1
fi
echo "layer check: every include follows the layer order"
