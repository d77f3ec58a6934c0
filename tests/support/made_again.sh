#!/usr/bin/env bash
# One commit gives one package and one site, byte for byte: BUILDER makes it again from a copy of
# the same sources in another folder, later, under another umask and time zone, and what it names
# on the last line it prints is compared, every file and every byte, with FIRST.
#   tests/support/made_again.sh scripts/make-deb.sh build-deb/pirune_<version>_<arch>.deb
#   tests/support/made_again.sh scripts/build-web.sh build-web/site
# as `ctest --preset package` and `ctest --test-dir build-web` run them. It builds the whole game
# again, sharing only the installed packages (Emscripten's cache among them) with the first build.
set -euo pipefail
usage="usage: $0 BUILDER FIRST"
builder=${1:?$usage} first=$(readlink -f "${2:?$usage}")
top=$(readlink -f "$(dirname "$(readlink -f "$0")")/../..")
[[ -e $first ]] || { echo "FAIL: nothing at $first ($builder makes it)"; exit 1; }

umask 077
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
copy=$tmp/sources
# The same commit, whose date the package bears, and the working tree's own files, those deleted
# left out: the first build's sources.
git clone --quiet --no-hardlinks --no-checkout "$top" "$copy"
git -C "$top" ls-files -z --cached --others --exclude-standard |
  grep -zvxFf <(git -C "$top" ls-files -z --deleted | tr '\0' '\n') |
  tar -C "$top" --create --null --files-from=- | tar -C "$copy" --extract

# UTC+14: whatever the first build's zone, the dates differ.
if ! again=$(cd "$copy" && TZ=Pacific/Kiritimati "$builder" 2>"$tmp/build.log" | tail -n 1) ||
  [[ ! -e $again ]]; then
  echo "FAIL it could not be made again in $copy; the end of its build:"
  tail -n 40 "$tmp/build.log"
  exit 1
fi
if diff --recursive --brief "$first" "$again" >"$tmp/diff"; then
  echo "ok   $(basename "$first") made again in another folder: the same bytes"
  exit 0
fi
echo "FAIL $(basename "$first") made again in another folder differs:"
sed 's/^/  /' "$tmp/diff"
if [[ $first == *.deb ]]; then  # which of its files, by their sizes, dates and modes
  diff <(dpkg-deb -c "$first") <(dpkg-deb -c "$again") | head -n 40 || true
fi
exit 1
