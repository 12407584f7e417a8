#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with. Safe to run again:
# when everything is present it installs nothing and does not touch the package lists.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache
  libpugixml-dev libjpeg62-turbo-dev
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webchannel-dev qt6-translations-l10n
  libqcustomplot-dev libgl-dev libjs-leaflet fonts-noto-cjk
  desktop-file-utils libxml2-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth
  debhelper dpkg-dev fakeroot lintian appstream groff-base man-db bash-completion
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
