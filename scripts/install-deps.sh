#!/usr/bin/env bash
# Installs the Debian packages the game needs, only those that are missing.
#   scripts/install-deps.sh play   what building and playing needs
#   scripts/install-deps.sh test   that, plus what the tests need
set -euo pipefail

what=${1:-play}
packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-multimedia-dev libsndfile1-dev
  qt6-qpa-plugins fonts-ipafont-gothic qt6-translations-l10n
)
if [[ $what == test ]]; then
  packages+=(
    libgtest-dev xvfb xauth x11-utils libxtst-dev libx11-dev
    pulseaudio pulseaudio-utils imagemagick desktop-file-utils appstream
    clang libclang-rt-dev  # the scr.dat fuzzer: clang++ and libFuzzer
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
