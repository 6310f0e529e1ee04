#!/usr/bin/env bash
# Installs the Debian packages the build (and, with "test", the tests) need, when any is missing.
# As root it runs apt-get; otherwise it prints the exact command and stops.
set -euo pipefail

BUILD_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libgl-dev libgl1-mesa-dri libglx-mesa0 libstb-dev
  libpugixml-dev zlib1g-dev libminizip-dev liblzo2-dev libopenal-dev libvorbis-dev libboost-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-lato fonts-comfortaa
)
TEST_PACKAGES=(
  xvfb xauth xdotool x11-utils imagemagick tesseract-ocr tesseract-ocr-eng gdb
  clang libclang-rt-14-dev
)

wanted=("${BUILD_PACKAGES[@]}")
if [[ "${1:-}" == "test" ]]; then wanted+=("${TEST_PACKAGES[@]}"); fi

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

command="apt-get install -y --no-install-recommends ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "These Debian packages are missing. Install them as root, then run this again:" >&2
  echo "  apt-get update && $command" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends "${missing[@]}"
