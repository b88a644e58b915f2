#!/usr/bin/env bash
# The demo: starts the reference content service with the sample content on a free local port and plays
# a story placement through the SDK with the `quenmark` console host, printing every event as it is
# reported. Installs the Debian packages it needs first, so it works on a fresh Debian 12 machine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release > /dev/null
cmake --build --preset release --target quenmark quenmark-devserver -j "$(nproc)"

bin=build/release
work=$(mktemp -d)
cleanup() {
  if [ -n "${server_pid:-}" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$bin/devserver/quenmark-devserver" serve --content devserver/sample/content.json --media-dir devserver/sample/media \
  --db "$work/devserver.sqlite3" --port 0 > "$work/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do
  if grep -q "Listening on" "$work/server.log" 2>/dev/null; then break; fi
  if ! kill -0 "$server_pid" 2>/dev/null; then cat "$work/server.log"; exit 1; fi
  sleep 0.1
done
base_url=$(grep -o 'http[s]*://[^ ]*' "$work/server.log" | head -n 1)
echo "Content service: $base_url"

common=(--base-url "$base_url" --sdk-key demo-sdk-key --app-key demo-app --bundle-id com.example.demo
        --app-version 1.0 --user-id demo-user --data-dir "$work/sdk")
echo
echo "== Story groups of placement 'home' =="
"$bin/tools/quenmark" "${common[@]}" stories home
echo "== Banners of placement 'home' =="
"$bin/tools/quenmark" "${common[@]}" banners home
echo "== Playing the first story group (answers polls and quizzes with their first option) =="
"$bin/tools/quenmark" "${common[@]}" play home --group 0 --answer first --swipe
echo
echo "== What the app reported to the service =="
"$bin/devserver/quenmark-devserver" events --db "$work/devserver.sqlite3"
