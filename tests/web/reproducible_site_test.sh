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
[[ -f $first/index.html ]] ||
  { echo "FAIL: no site in $first (scripts/build-web.sh makes it)"; exit 1; }

umask 077
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
copy=$tmp/sources
mkdir "$copy"
if [[ $(git -C "$top" rev-parse --show-toplevel 2>/dev/null) == "$top" ]]; then
  # The working tree as the first build saw it, without its builds and what git ignores.
  git -C "$top" ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do
      if [[ -e $top/$file || -L $top/$file ]]; then printf '%s\0' "$file"; fi
    done |
    tar -C "$top" --create --null --files-from=- | tar -C "$copy" --extract
else
  tar -C "$top" --create --exclude='./build*' . | tar -C "$copy" --extract
fi

# UTC+14: whatever the first build's zone, the dates differ.
if ! again=$(cd "$copy" && TZ=Pacific/Kiritimati scripts/build-web.sh 2>"$tmp/build.log" |
               tail -n 1); then
  echo "FAIL the site could not be built again in $copy; the end of its build:"
  tail -n 40 "$tmp/build.log"
  exit 1
fi
[[ -d $again ]] || { echo "FAIL scripts/build-web.sh named no site folder: '$again'"; exit 1; }

files() { (cd "$1" && find . -type f -printf '%P\n' | LC_ALL=C sort); }
files "$first" >"$tmp/first.list"
files "$again" >"$tmp/again.list"
# cmp names the two sites as first/ and again/.
ln -s "$first" "$tmp/first"
ln -s "$again" "$tmp/again"

failed=0
if ! cmp -s "$tmp/first.list" "$tmp/again.list"; then
  failed=1
  echo "FAIL the two sites do not hold the same files:"
  LC_ALL=C comm -23 "$tmp/first.list" "$tmp/again.list" | sed 's/^/  only in the first site: /'
  LC_ALL=C comm -13 "$tmp/first.list" "$tmp/again.list" | sed 's/^/  only in the site built again: /'
fi
differing=()
while IFS= read -r name; do
  if ! (cd "$tmp" && cmp "first/$name" "again/$name" >>"$tmp/cmp.out" 2>&1); then
    differing+=("$name")
  fi
done < <(LC_ALL=C comm -12 "$tmp/first.list" "$tmp/again.list")
if ((${#differing[@]})); then
  failed=1
  echo "FAIL ${#differing[@]} file(s) of the site built again differ: ${differing[*]}"
  sed 's/^/  /' "$tmp/cmp.out"
  for name in "${differing[@]}"; do
    echo "  $name: $(stat -c %s "$first/$name") bytes first, $(stat -c %s "$again/$name") again"
  done
fi

if ((failed == 0)); then
  echo "ok   the same $(wc -l <"$tmp/first.list") files, byte for byte, built again in another folder"
  exit 0
fi
if [[ -n ${OUT_DIR:-} ]]; then
  rm -rf "$OUT_DIR/reproducible-site-again"
  cp -r "$again" "$OUT_DIR/reproducible-site-again"
  echo "     the site built again is kept in $OUT_DIR/reproducible-site-again"
fi
# Sources edited after the first site was made give another site for a reason of their own.
changed=$(cd "$copy" && find . -path './build*' -prune -o -type f -newer "$first/sw.js" \
            -printf '%P\n' 2>/dev/null | head -n 5 | tr '\n' ' ') || true
if [[ -n $changed ]]; then
  echo "     sources changed after the first site was built (${changed% }): build it again with"
  echo "     scripts/build-web.sh --tests before taking this for a build that is not reproducible"
fi
exit 1
