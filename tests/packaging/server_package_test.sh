#!/usr/bin/env bash
# pirune-server's Debian package as an admin's system gets it: lintian, its files, its systemd
# unit as systemd reads it, and the packaged server started by the unit's own command from an
# unpacked root, under the unit's restrictions, on a SQLite file of the test's, until SIGTERM.
#   tests/packaging/server_package_test.sh PACKAGE.deb
# as `ctest --preset server-package` runs it after scripts/make-server-deb.sh.
set -euo pipefail
deb=$(readlink -f "${1:?usage: $0 PACKAGE.deb}")
[[ -f $deb ]] || { echo "FAIL: no package $deb (scripts/make-server-deb.sh makes it)"; exit 1; }
here=$(dirname "$(readlink -f "$0")")

tmp=$(mktemp -d) server=""
trap '[[ -n $server ]] && kill -KILL $server 2>/dev/null; rm -rf "$tmp"' EXIT
failures=0
check() { if "${@:2}"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi; }
# within30 COMMAND...: the command succeeds within 30 s.
within30() { for ((i = 0; i < 300; i++)); do "$@" && return; sleep 0.1; done; false; }
ended() { [[ ! -e /proc/$server ]] || grep -q '^State:.*zombie' "/proc/$server/status" 2>/dev/null; }
quiet() { local said; said=$("$@" 2>&1) && [[ -z $said ]] || { echo "$said"; false; }; }
owned_by_root() { ! dpkg-deb -c "$deb" | grep -Ev '^(l[rwx]{9}|[-d]r[w-][x-]r-[x-]r-[x-]) root/root '; }

root=$tmp/root site=$tmp/root/usr/share/pirune-server/site
unit=$root/usr/lib/systemd/system/pirune-server.service
dpkg-deb -x "$deb" "$root"
check "lintian: no error, no warning" lintian --fail-on error,warning "$deb"
check "files owned by root, writable only by root" owned_by_root
check "the server in /usr/sbin" test -x "$root/usr/sbin/pirune-server"
check "the page in /usr/share/pirune-server/site" test -s "$site/index.html"
check "manual page pirune-server.8" gzip -t "$root/usr/share/man/man8/pirune-server.8.gz"
# Every option that the server's --help names is in its manual.
documented() {
  local manual option
  manual=$(zcat "$root/usr/share/man/man8/pirune-server.8.gz" | sed 's/\\-/-/g')
  for option in $("$root/usr/sbin/pirune-server" --help | grep -o -- '--[a-z-]*' | sort -u); do
    grep -qF -- "$option" <<<"$manual" || { echo "not in the manual: $option"; return 1; }
  done
}
check "the manual names every option of --help" documented
check "its unit" test -f "$unit"
# systemd checks the program of ExecStart= where the package put it, and Documentation= by man.
sed "s|^ExecStart=/|ExecStart=$root/|" "$unit" >"$tmp/pirune-server.service"
check "systemd-analyze verify: nothing to say" \
  quiet env MANPATH="$root/usr/share/man" systemd-analyze verify "$tmp/pirune-server.service"
# Its score, on systemd's scale of 0 (all shut) to 10 (nothing): up to 2 may be left open.
exposure() {
  systemd-analyze security --offline=yes --root="$root" --threshold=20 pirune-server.service \
    >"$tmp/security" 2>&1 || { grep -v '^✓' "$tmp/security"; false; }
}
check "systemd-analyze security: exposure 2.0 at most" exposure

# Run by the unit's command, on any free port and a ranking of the test's own. As root, it runs
# as nobody without capabilities, as DynamicUser= and CapabilityBoundingSet= leave it.
data=$tmp/data
mkdir "$data"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
  chmod 755 "$tmp" && chown nobody "$data"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --inh-caps=-all --bounding-set=-all)
fi
# A copy the unit's user can read, wherever the sources are (a home only root may enter).
install -m 755 "$here/as_the_unit.py" "$tmp/as_the_unit.py"
"${as_user[@]}" "$tmp/as_the_unit.py" "$unit" "$root" PIRUNE_LISTEN=127.0.0.1:0 \
  PIRUNE_DATA="$data/ranking.sqlite" >"$tmp/log" 2>&1 &
server=$!
address() { sed -n 's|^pirune-server: listening on \(http://.*\)/$|\1|p' "$tmp/log" | grep .; }
listening() { address >/dev/null; }
check "it listens" within30 listening
url=$(address || echo http://127.0.0.1:1)
healthy() { [[ $(curl -s -o /dev/null -w '%{http_code}' "$url/api/health") == 200 ]]; }
check "GET /api/health: 200" within30 healthy
check "GET /: the packaged page" cmp -s "$site/index.html" <(curl -sf "$url/")
check "the ranking made in its SQLite file" test -s "$data/ranking.sqlite"
kill -TERM "$server" 2>/dev/null || true
within30 ended || kill -KILL "$server"
check "exit status 0 after SIGTERM" wait "$server"
server=""
[[ $failures -eq 0 ]] || { sed 's/^/  server: /' "$tmp/log"; echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"
