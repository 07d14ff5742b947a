#!/usr/bin/env bash
# Installs, with apt, every Debian 12 package Vexlo needs to build, test and run.
# Only what is missing is installed; the package lists are refreshed once, and only
# when something has to be installed.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config clang-format
  # Qt 6.4 (widgets, SVG images, web map, printing dialogs)
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6
  qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginewidgets6 libqt6opengl6-dev
  # video
  libvlc-dev vlc-plugin-base vlc-plugin-video-output
  # map page, printing
  libjs-leaflet libcups2-dev
  # card tools (pkexec: administrator rights for formatting)
  dosfstools mtools util-linux pkexec
  # sample recordings
  ffmpeg
  # tests and benchmarks (cups, cups-bsd: a print server the print tests start for themselves)
  libgtest-dev googletest libbenchmark-dev xvfb xauth x11-apps imagemagick cups cups-bsd
  fonts-dejavu-core clang libclang-rt-14-dev time bc
  # scripts/repeat-tests.sh reads CTest's test list
  jq
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
