#!/usr/bin/env bash
# The world ranking's benchmark, by hand, on this machine's loopback only (as root, for the
# private PostgreSQL): re-flights, ranking reads (wrk) and verified submissions, on SQLite and
# on PostgreSQL behind two servers. Every run is bounded: SECONDS (default 10) each.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/../.."
seconds=${1:-10}
scripts/install-deps.sh server-bench
cmake -S . -B build-server -DPIRUNE_SERVER=ON -DPIRUNE_TESTS=ON -DPIRUNE_SERVER_BENCH=ON >/dev/null
cmake --build build-server --parallel "$(nproc)" --target pirune-server server-bench make-test-flight >/dev/null
work=$(mktemp -d /tmp/pirune-server-bench-XXXXXX)
chmod 755 "$work"  # the postgres user goes through it to its own folder
pids=()
finish() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [[ -f $work/pg/data/postmaster.pid ]] && kill -INT "$(head -n 1 "$work/pg/data/postmaster.pid")" 2>/dev/null
  sleep 1
  rm -rf "$work"
}
trap finish EXIT
build-server/tests/make-test-flight "$work/flights" --longest >/dev/null
bench=build-server/bench/server/server-bench
# Limits and leeway out of the way: one address sends everything, and at once.
open=(--leeway-ms 60000 --start-limit 1000000 --send-limit 1000000)

serve() {  # serve DATA NAME: starts a server, and sets NAME to its port once it listens
  local out=$work/$2.out
  build-server/pirune-server --data "$1" --listen 127.0.0.1:0 "${open[@]}" >"$out" 2>&1 &
  pids+=($!)
  until grep -q listening "$out"; do sleep 0.05; done
  printf -v "$2" '%s' "$(grep -o ':[0-9]\+/' "$out" | tr -d ':/')"
}
reads() {  # reads PORT
  wrk -t2 -c32 -d"${seconds}s" --latency "http://127.0.0.1:$1/api/ranking" |
    grep -E "Requests/sec|50%|99%"
}

echo "== uptime: $(uptime)"
echo "== re-flights, one core"
$bench reflights "$work/flights/goal.pflight" "$work/flights/endless.pflight" "$work/flights/longest.pflight"

echo "== SQLite, one server"
serve "$work/ranking.sqlite" port
$bench send "$seconds" 8 "$work/flights/endless.pflight" "$port"
reads "$port"

echo "== PostgreSQL, two servers"
mkdir -p "$work/pg" && chown postgres "$work/pg"
runuser -u postgres -- /usr/lib/postgresql/15/bin/initdb -D "$work/pg/data" -A trust -U postgres >/dev/null
runuser -u postgres -- /usr/lib/postgresql/15/bin/postgres -D "$work/pg/data" -k "$work/pg" \
  -p 5432 -c listen_addresses= >"$work/pg/log" 2>&1 &
until /usr/lib/postgresql/15/bin/pg_isready -q -h "$work/pg" -U postgres; do sleep 0.1; done
address="postgresql:///postgres?host=$work/pg&port=5432&user=postgres"
serve "$address" a
serve "$address" b
$bench send "$seconds" 8 "$work/flights/endless.pflight" "$a" "$b"
reads "$a"
echo "== uptime: $(uptime)"
