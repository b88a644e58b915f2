#!/usr/bin/env bash
# A repeatable load run of the reference content service on loopback: starts quenmark-devserver with the
# sample content and a fresh database on a free port of 127.0.0.1, sends the mixed requests of
# scripts/load/mixed_requests.lua with wrk for a fixed time, and prints requests per second, p50/p99
# latency and errors. Builds the release preset first unless a build directory is given.
#
#   scripts/load-test.sh [BUILD_DIR]     DURATION=10s CONNECTIONS=32 THREADS=2 change the run;
#                                        MIX=reads sends only the reads (no database writes)
set -euo pipefail
cd "$(dirname "$0")/.."

duration=${DURATION:-10s}
connections=${CONNECTIONS:-32}
threads=${THREADS:-2}
if [ $# -ge 1 ]; then
  bin=$1
else
  bash scripts/install-deps.sh
  cmake --preset release > /dev/null
  cmake --build --preset release --target quenmark-devserver -j 2
  bin=build/release
fi
command -v wrk > /dev/null || { echo "load-test.sh: wrk is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
cleanup() {
  if [ -n "${server_pid:-}" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$bin/devserver/quenmark-devserver" serve --content devserver/sample/content.json --db "$work/load.sqlite3" \
  --port 0 --quiet > "$work/server.out" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do
  if grep -q "Listening on" "$work/server.out" 2>/dev/null; then break; fi
  if ! kill -0 "$server_pid" 2>/dev/null; then cat "$work/server.out"; exit 1; fi
  sleep 0.1
done
origin=$(grep -o 'http://[^ ]*' "$work/server.out" | head -n 1)
[ -n "$origin" ] || { echo "load-test.sh: the service did not start" >&2; cat "$work/server.out"; exit 1; }

echo "quenmark-devserver at $origin: $connections connections, $threads threads, $duration, ${MIX:-mixed} requests"
wrk --threads "$threads" --connections "$connections" --duration "$duration" --timeout 5s \
  --script scripts/load/mixed_requests.lua "$origin" | tail -n 1
