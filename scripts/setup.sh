#!/usr/bin/env bash
# Installs the Debian packages Kestrano needs to build, run and test; quick when all are present.
set -euo pipefail

packages=(cmake ninja-build g++ clang pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 libcanberra-dev
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool xauth x11-utils
          desktop-file-utils appstream netpbm)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
