#!/usr/bin/env bash
# Builds the Debian package of the game in build-deb/ (the package preset of CMakePresets.json)
# and checks it with lintian.
# Everything it says goes to stderr; the last line on stdout is the package's absolute path.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."
# As dpkg-buildpackage does: the package's folders and members take their modes from the build,
# whatever the caller's umask.
umask 022
scripts/install-deps.sh deb >&2

# The package's times are the commit's, so that one commit gives the same package byte for byte
# wherever and whenever it is built; sources without git take the date of their changelog, as
# Debian does.
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  if [[ $(git rev-parse --show-toplevel 2>/dev/null) == "$PWD" ]]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
  else
    SOURCE_DATE_EPOCH=$(date -d "$(sed -n 's/^ -- .*  //p' packaging/changelog.in | head -n 1)" +%s)
  fi
fi
export SOURCE_DATE_EPOCH

rm -rf build-deb
# Built with Debian's hardening flags, as a package built by dpkg-buildpackage would be; the
# optimisation and the debug information (stripped anyway) stay the build type's.
eval "$(DEB_CXXFLAGS_MAINT_STRIP='-g -O2' DEB_BUILD_MAINT_OPTIONS=hardening=+all \
  dpkg-buildflags --export=sh)"
export CXXFLAGS="${CPPFLAGS:?} $CXXFLAGS" LDFLAGS
cmake --preset package >&2
cmake --build --preset package --parallel "$(nproc)" >&2
cpack --preset package >&2

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
