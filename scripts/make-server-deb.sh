#!/usr/bin/env bash
# Builds pirune-server's Debian package in build-deb-server/ (the server-package preset of
# CMakePresets.json): first the web page it serves, by scripts/build-web.sh in
# build-deb-server/web, then the server, and checks the package with lintian.
# Everything it says goes to stderr; the last line on stdout is the package's absolute path.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."
# As dpkg-buildpackage does: the package's folders and members take their modes from the build,
# whatever the caller's umask.
umask 022
scripts/install-deps.sh server-deb >&2

# The package's times are the commit's, so that one commit gives the same package byte for byte;
# sources without git take the date of their changelog, as Debian does.
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  if [[ $(git rev-parse --show-toplevel 2>/dev/null) == "$PWD" ]]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
  else
    SOURCE_DATE_EPOCH=$(date -d "$(sed -n 's/^ -- .*  //p' packaging/server/changelog.in |
      head -n 1)" +%s)
  fi
fi
export SOURCE_DATE_EPOCH

rm -rf build-deb-server
# The page first, in a folder of its own and with its own flags: those below are the server's.
site=$(scripts/build-web.sh --build-dir build-deb-server/web | tail -n 1)
[[ $site == "$PWD/build-deb-server/web/site" ]] ||
  { echo "make-server-deb: the page is in $site, not where the preset looks" >&2; exit 1; }

# Built with Debian's hardening flags, as a package built by dpkg-buildpackage would be; the
# optimisation and the debug information (stripped anyway) stay the build type's.
eval "$(DEB_CXXFLAGS_MAINT_STRIP='-g -O2' DEB_BUILD_MAINT_OPTIONS=hardening=+all \
  dpkg-buildflags --export=sh)"
export CXXFLAGS="${CPPFLAGS:?} $CXXFLAGS" LDFLAGS
cmake --preset server-package >&2
cmake --build --preset server-package --parallel "$(nproc)" >&2
cpack --preset server-package >&2

debs=(build-deb-server/pirune-server_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] ||
  { echo "make-server-deb: no package made" >&2; exit 1; }
deb=$(readlink -f "${debs[0]}")

echo "== lintian" >&2
status=0
lintian --fail-on error,warning "$deb" >&2 || status=$?
case $status in
  0) ;;
  1) echo "make-server-deb: lintian found errors or warnings in $deb" >&2; exit 1 ;;
  *) echo "make-server-deb: lintian could not check $deb (status $status)" >&2; exit 1 ;;
esac
echo "$deb"
