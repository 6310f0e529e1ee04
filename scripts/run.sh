#!/usr/bin/env bash
# Builds the game in Release and starts it from its run folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_BENCH=OFF > /dev/null
cmake --build "$root/build/release" --target quorvel
cd "$root/build/release/run"
exec ./quorvel "$@"
