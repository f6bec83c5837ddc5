#!/usr/bin/env bash
# Installs the Debian packages Kestrano needs to build, run and test; quick when all are present.
# Prints one line per step; apt's own output only when a step fails.
set -euo pipefail

packages=(cmake ninja-build g++ clang pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 libcanberra-dev libxcb1-dev
          libpcre2-dev libsystemd-dev systemd-journal-remote zlib1g-dev liblzma-dev xz-utils
          qt6-tools-dev qt6-l10n-tools qt6-translations-l10n locales dpkg-dev file
          libgtest-dev libgmock-dev libbenchmark-dev libvectorscan-dev clang-format
          xvfb xdotool xauth x11-utils dbus dbus-bin dunst
          desktop-file-utils appstream netpbm lintian
          openssh-client openssh-server logrotate openbox)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

# Runs a step quietly; shows its output only when it fails.
step() {
  local what=$1; shift
  local log
  log=$(mktemp)
  echo "setup: $what" >&2
  if ! "$@" >"$log" 2>&1; then
    echo "setup: failed: $what" >&2
    cat "$log" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  step "updating the package lists" $sudo apt-get update -q
  step "installing ${missing[*]}" \
    $sudo apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}"
fi

# The tests start the program under a German locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  step "generating the locale de_DE.UTF-8" \
    bash -c "$sudo sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen && $sudo locale-gen"
fi
