#!/usr/bin/env bash
# The Debian package as a player's system gets it: its files, what it asks apt for, its menu entry
# and metainfo, and the packaged game run from an unpacked root and asked to quit with SIGTERM.
#   tests/packaging/package_test.sh PACKAGE.deb FACTS
# as `ctest --preset package` runs it after scripts/make-deb.sh. FACTS is the file that the
# package's build writes (build-deb/packaging/package-facts): the names it installs, name=value.
set -euo pipefail
deb=$(readlink -f "${1:?usage: $0 PACKAGE.deb FACTS}") facts=${2:?usage: $0 PACKAGE.deb FACTS}
# The facts as shell variables; the names are the build's own, without quotes in them.
source <(sed -n "s/^\(app_id\|program\|game_files\|icon_sizes\)=\(.*\)/\1='\2'/p" "$facts")
[[ -f $deb && -n ${app_id:-} && -n ${program:-} && -n ${game_files:-} && -n ${icon_sizes:-} ]] ||
  { echo "FAIL: no package $deb (scripts/make-deb.sh makes it) or names missing in $facts"; exit 1; }

tmp=$(mktemp -d) game=""
trap '[[ -n $game ]] && kill -KILL $game 2>/dev/null; rm -rf "$tmp"' EXIT
failures=0
check() { if "${@:2}"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi; }
# within30 COMMAND...: the command succeeds within 30 s.
within30() { for ((i = 0; i < 300; i++)); do "$@" && return; sleep 0.1; done; false; }
ended() { [[ ! -e /proc/$game ]] || grep -q '^State:.*zombie' "/proc/$game/status" 2>/dev/null; }
catches_term() { ! ended && (( (0x$(sed -n 's/^SigCgt:\s*//p' "/proc/$game/status") >> 14) & 1 )); }
owned_by_root() { ! dpkg-deb -c "$deb" | grep -Ev '^(l[rwx]{9}|[-d]r[w-][x-]r-[x-]r-[x-]) root/root '; }
beside() { [[ -f $folder/$1 && $(readlink "$folder/$1") != /* ]]; }  # relative: true in any root
listing() { find "$root" -printf '%P %y %s %T@ %m %l\n' | sort; }

root=$tmp/root folder=$tmp/root/usr/lib/games/pirune
dpkg-deb -x "$deb" "$root"
check "files owned by root, writable only by root" owned_by_root
check "program in the game folder" test -x "$folder/$program" -a ! -L "$folder/$program"
for name in $game_files; do check "$name beside the program" beside "$name"; done
check "/usr/games/pirune is the program" test "$root/usr/games/pirune" -ef "$folder/$program"
for page in man6/pirune.6 ja/man6/pirune.6 man1/pirune-flight.1; do
  check "manual page $page" gzip -t "$root/usr/share/man/$page.gz"
done
# The packaged pirune-flight runs, and refuses a file that is no flight record (the package
# itself) with status 2 and the reason's word.
refuses() {
  local said status=0
  said=$("$root/usr/bin/pirune-flight" show "$deb" 2>&1) || status=$?
  ((status == 2)) && [[ $said == *'refused (not_a_record)'* ]]
}
check "pirune-flight refuses what is no record" refuses
entry=$root/usr/share/applications/$app_id.desktop
check "desktop entry valid" desktop-file-validate "$entry"
check "desktop entry runs the command" test -x "$root/usr/games/$(sed -n 's/^Exec=//p' "$entry")"
icon=$(sed -n 's/^Icon=//p' "$entry")
for s in $icon_sizes; do
  check "icon $icon at ${s}x$s" grep -q ": PNG image data, $s x $s," <(file "$root/usr/share/icons/hicolor/${s}x$s/apps/$icon.png")
done
check "metainfo valid" appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml"
# What the package asks apt for, as field:package.
for dep in Depends:qt6-qpa-plugins Depends:fonts-ipafont-gothic Depends:qt6-translations-l10n \
  'Depends:libqt6[a-z]+6' Recommends:qt6-wayland; do
  check "${dep/:/ }" grep -Eq "(^|, )${dep#*:}( |,|$)" <<<"$(dpkg-deb -f "$deb" "${dep%%:*}")"
done

# A player's start of the unpacked game: the ranking goes to their data folder, nothing else
# (no flight, so no flight record either).
listing >"$tmp/before"
env -i PATH="$PATH" HOME="$tmp" XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp" TMPDIR="$tmp" \
  QT_QPA_PLATFORM=offscreen "$root/usr/games/pirune" >"$tmp/log" 2>&1 &
game=$!
# Asked to quit only once it listens, and given a bounded time for both.
check "the game catches SIGTERM" within30 catches_term
kill -TERM "$game" 2>/dev/null || true
within30 ended || kill -KILL "$game"
check "exit status 0 after SIGTERM" wait "$game"
game=""
check "scr.dat of 60 bytes in XDG_DATA_HOME/pirune" test "$(stat -c %s "$tmp/data/pirune/scr.dat" 2>/dev/null)" = 60
check "nothing created or changed in the unpacked root" cmp -s "$tmp/before" <(listing)
[[ $failures -eq 0 ]] || { sed 's/^/  game: /' "$tmp/log"; echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"
