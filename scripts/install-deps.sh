#!/usr/bin/env bash
# Installs the Debian packages the game needs, only those that are missing.
#   scripts/install-deps.sh play    what building and playing needs
#   scripts/install-deps.sh test    that, plus what the tests need
#   scripts/install-deps.sh deb     that of play, plus what building the Debian package needs
#   scripts/install-deps.sh bench   that of play, plus what the benchmark needs
#   scripts/install-deps.sh web     that of play (the picture and music generators), plus what
#                                   building the web site needs
#   scripts/install-deps.sh server  that of play, plus what building pirune-server needs
#   scripts/install-deps.sh server-bench  that of server, plus the server's benchmark's tools
#   scripts/install-deps.sh server-deb    that of server and of web, plus what building the
#                                         Debian package of pirune-server needs
set -euo pipefail

what=${1:-play}
# pirune-server, the world ranking: HTTP, JSON, SQLite and PostgreSQL's client.
server=(pkg-config libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libpqxx-dev)
packages=(
  # building
  cmake g++ make qt6-base-dev qt6-multimedia-dev
  # playing: the platform plugins (X11), native Wayland, a Japanese font (without one every
  # character is an empty box) and Qt's Japanese button texts
  qt6-qpa-plugins qt6-wayland fonts-ipafont-gothic qt6-translations-l10n
)
case $what in
  play) ;;
  test)
    packages+=(
      libgtest-dev
      xvfb xauth xdotool imagemagick python3-xlib weston  # the real program on X11 and Wayland
      pulseaudio pulseaudio-utils                         # a private sound server
      clang libclang-rt-dev                               # the sanitizer build
      dpkg-dev file lintian desktop-file-utils appstream  # the package and what it installs
      emscripten webp lame python3 chromium firefox-esr   # the web page, in two real browsers
      "${server[@]}" postgresql-15                        # the world ranking, on both databases
      systemd python3-seccomp curl     # pirune-server's package: its unit, under the unit's filter
    )
    command -v node >/dev/null || packages+=(nodejs npm)
    ;;
  deb) packages+=(dpkg-dev file lintian) ;;
  bench) packages+=(xvfb libx11-dev libxtst-dev pulseaudio pulseaudio-utils nginx) ;;  # nginx: the web page's server
  web)
    packages+=(
      emscripten           # the core compiled to WebAssembly
      webp lame python3    # lossless WebP pictures, the MP3 music, the site's build steps
    )
    # Emscripten's tools run on Node; any Node already there will do.
    command -v node >/dev/null || packages+=(nodejs npm)
    ;;
  server) packages+=("${server[@]}") ;;
  server-bench) packages+=("${server[@]}" postgresql-15 wrk) ;;
  server-deb)
    # the server, the site as the web mode builds it, the package's tools
    packages+=("${server[@]}" emscripten webp lame python3 dpkg-dev file lintian)
    command -v node >/dev/null || packages+=(nodejs npm)
    ;;
  *) echo "usage: $0 play|test|deb|bench|web|server|server-bench|server-deb" >&2; exit 2 ;;
esac

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
