#!/usr/bin/env bash
# One commit gives one package, byte for byte: the package is made again by scripts/make-deb.sh
# from a copy of the same sources in another folder, later, under another umask and time zone,
# and compared with the first.
#   tests/packaging/reproducible_test.sh build-deb/pirune_<version>_<arch>.deb
# as `ctest --preset package` runs it after scripts/make-deb.sh. It builds the whole game again.
set -euo pipefail
deb=$(readlink -f "${1:?usage: $0 PACKAGE.deb}")
top=$(readlink -f "$(dirname "$(readlink -f "$0")")/../..")
[[ -f $deb ]] || { echo "FAIL: no package $deb (scripts/make-deb.sh makes it)"; exit 1; }

umask 077
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
copy=$tmp/sources
if [[ $(git -C "$top" rev-parse --show-toplevel 2>/dev/null) == "$top" ]]; then
  # The same commit, whose date the package bears, and the working tree's own files, those
  # deleted left out: the first package's sources.
  git clone --quiet --no-hardlinks --no-checkout "$top" "$copy"
  git -C "$top" ls-files -z --cached --others --exclude-standard |
    grep -zvxFf <(git -C "$top" ls-files -z --deleted | tr '\0' '\n') |
    tar -C "$top" --create --null --files-from=- | tar -C "$copy" --extract
else
  mkdir "$copy"
  tar -C "$top" --create --exclude='./build*' . | tar -C "$copy" --extract
fi

# UTC+14: whatever the first build's zone, the dates differ.
again=$(cd "$copy" && TZ=Pacific/Kiritimati scripts/make-deb.sh | tail -n 1) ||
  { echo "FAIL the package could not be made again in $copy"; exit 1; }
if cmp "$deb" "$again"; then
  echo "ok   the same package, byte for byte, made again in another folder"
  exit 0
fi
echo "FAIL the package made again differs; members, then files (< first, > again):"
diff <(ar tv "$deb") <(ar tv "$again") || true
diff <(dpkg-deb -c "$deb") <(dpkg-deb -c "$again") | head -n 40 || true
exit 1
