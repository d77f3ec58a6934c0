#!/usr/bin/env bash
# Builds the game's web site: the core compiled to WebAssembly under the web shell, with the
# pictures and the music made by a desktop build of our generators.
#   scripts/build-web.sh [--tests] [--build-dir DIR] [--world-server ORIGIN]
#     --tests           also builds the browser tests, which ctest --test-dir build-web runs
#     --build-dir DIR   builds in DIR and DIR-assets (from the top of the sources) rather than
#                       build-web and build-web-assets, so that a package's build leaves the
#                       page's tests' folders alone
#     --world-server ORIGIN  the world ranking's server when it is not the site's own (as
#                       https://ranking.example; that server is run with --allow-origin)
# The site is left in DIR/site/; its absolute path is the last line of stdout, and everything
# else goes to stderr.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."

usage="usage: $0 [--tests] [--build-dir DIR] [--world-server ORIGIN]"
tests=OFF dir=build-web world=
while (($#)); do
  case $1 in
    --tests) tests=ON ;;
    --build-dir) dir=${2:?$usage}; shift ;;
    --world-server) world=${2:?$usage}; shift ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
  shift
done
dir=$(realpath -m "$dir")

{
  scripts/install-deps.sh web
  # Only what makes the pictures, the wing frames' source and the music; and pirune-flight,
  # by which the browser tests fly the page's records again natively.
  cmake -S . -B "$dir-assets"
  cmake --build "$dir-assets" --parallel "$(nproc)" \
    --target pirune_game_pictures pirune_music pirune_embedded_pictures pirune-flight

  # -O2 throughout: smaller than -Os here, once ASYNCIFY has instrumented the program.
  emcmake cmake -S . -B "$dir" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DPIRUNE_ASSETS_DIR="$dir-assets" -DPIRUNE_TESTS="$tests" -DPIRUNE_WORLD_SERVER="$world"
  cmake --build "$dir" --parallel "$(nproc)"
} >&2

echo "$dir/site"
