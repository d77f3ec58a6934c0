#!/usr/bin/env bash
# Builds the Debian package of the game in build-deb/ and checks it with lintian.
# Everything it says goes to stderr; the last line on stdout is the package's absolute path.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."
scripts/install-deps.sh deb >&2

rm -rf build-deb
# Built with Debian's hardening flags, as a package built by dpkg-buildpackage would be; the
# optimisation and the debug information (stripped anyway) stay the build type's.
eval "$(DEB_CXXFLAGS_MAINT_STRIP='-g -O2' DEB_BUILD_MAINT_OPTIONS=hardening=+all \
  dpkg-buildflags --export=sh)"
export CXXFLAGS="${CPPFLAGS:?} $CXXFLAGS" LDFLAGS
cmake -S . -B build-deb -DPIRUNE_RANKING_PER_PLAYER=ON -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_BUILD_TYPE=Release >&2
cmake --build build-deb --parallel "$(nproc)" >&2
(cd build-deb && cpack -G DEB) >&2

debs=(build-deb/pirune_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || { echo "make-deb: no package made" >&2; exit 1; }
deb=$(readlink -f "${debs[0]}")

echo "== lintian" >&2
status=0
lintian --fail-on error "$deb" >&2 || status=$?
case $status in
  0) ;;
  1) echo "make-deb: lintian found errors in $deb" >&2; exit 1 ;;
  *) echo "make-deb: lintian could not check $deb (status $status)" >&2; exit 1 ;;
esac
echo "$deb"
