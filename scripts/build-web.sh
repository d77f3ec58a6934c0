#!/usr/bin/env bash
# Builds the game's web site: the core compiled to WebAssembly under the web shell, with the
# pictures and the music made by a desktop build of our generators.
#   scripts/build-web.sh [--tests]    --tests also builds the browser tests, which
#                                     ctest --test-dir build-web runs
# The site is left in build-web/site/; its absolute path is the last line of stdout, and
# everything else goes to stderr.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."

tests=OFF
for arg in "$@"; do
  case $arg in
    --tests) tests=ON ;;
    *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
  esac
done

{
  scripts/install-deps.sh web
  # Only what makes the pictures, the wing frames' source and the music; and pirune-flight,
  # by which the browser tests fly the page's records again natively.
  cmake -S . -B build-web-assets
  cmake --build build-web-assets --parallel "$(nproc)" \
    --target pirune_game_pictures pirune_music pirune_embedded_pictures pirune-flight

  # -O2 throughout: smaller than -Os here, once ASYNCIFY has instrumented the program.
  emcmake cmake -S . -B build-web \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DPIRUNE_ASSETS_DIR="$PWD/build-web-assets" -DPIRUNE_TESTS="$tests"
  cmake --build build-web --parallel "$(nproc)"
} >&2

echo "$PWD/build-web/site"
