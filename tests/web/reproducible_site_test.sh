#!/usr/bin/env bash
# One commit gives one site, byte for byte: scripts/build-web.sh builds the site again from a copy
# of the same sources in another folder, with builds of its own for the generators and for the
# WebAssembly, later, under another umask and time zone, and every file of it is compared with
# the first site's.
#   tests/web/reproducible_site_test.sh build-web/site
# as ctest --test-dir build-web runs it after scripts/build-web.sh --tests. It shares only the
# installed packages with the first build (Emscripten's cache of its own libraries among them).
# With OUT_DIR set, a site that differs is left there as reproducible-site-again/.
set -euo pipefail
first=$(readlink -f "${1:?usage: $0 SITE}")
top=$(readlink -f "$(dirname "$(readlink -f "$0")")/../..")
[[ -f $first/index.html ]] || { echo "FAIL: no site in $first (scripts/build-web.sh makes it)"; exit 1; }

umask 077
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
copy=$tmp/sources
mkdir "$copy"
# The working tree as the first build saw it, without its builds and what git ignores (a file
# deleted but not yet committed is left out); outside a git checkout, all but the builds.
if [[ $(git -C "$top" rev-parse --show-toplevel 2>/dev/null) == "$top" ]]; then
  git -C "$top" ls-files -z --cached --others --exclude-standard
else
  (cd "$top" && find . -path './build*' -prune -o -type f -print0)
fi | tar -C "$top" --create --null --files-from=- --ignore-failed-read 2>/dev/null | tar -C "$copy" --extract

# UTC+14: whatever the first build's zone, the dates differ.
if ! again=$(cd "$copy" && TZ=Pacific/Kiritimati scripts/build-web.sh 2>"$tmp/build.log" | tail -n 1) ||
  [[ ! -d $again ]]; then
  echo "FAIL the site could not be built again in $copy; the end of its build:"
  tail -n 40 "$tmp/build.log"
  exit 1
fi

# The files only in one site, and those that differ.
if diff --recursive --brief "$first" "$again" >"$tmp/diff"; then
  echo "ok   the same $(find "$first" -type f | wc -l) files, byte for byte, built again in another folder"
  exit 0
fi
echo "FAIL the site built again is not the same:"
sed 's/^/  /' "$tmp/diff"
if [[ -n ${OUT_DIR:-} ]]; then
  rm -rf "$OUT_DIR/reproducible-site-again"
  cp -r "$again" "$OUT_DIR/reproducible-site-again"
  echo "     the site built again is kept in $OUT_DIR/reproducible-site-again"
fi
# Sources edited after the first site was made give another site for a reason of their own.
changed=$(cd "$copy" && find . -path './build*' -prune -o -type f -newer "$first/sw.js" -printf '%P ' | head -c 200) || true
[[ -z $changed ]] || echo "     sources changed after the first site was built (${changed% }): build it again with" \
  "scripts/build-web.sh --tests before taking this for a build that is not reproducible"
exit 1
