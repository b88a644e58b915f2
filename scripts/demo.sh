#!/usr/bin/env bash
# The demo: builds quenmark-demo, a Qt Quick host of the SDK showing the sample recipe-box app on the
# reference content service (run in-process). With a display it opens the app's window; without one it
# goes through the app offscreen and writes pictures of its screens. Installs the Debian packages it
# needs first, so it works on a fresh Debian 12 machine. Arguments go to quenmark-demo (--help).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release > /dev/null
cmake --build --preset release --target quenmark-demo -j "$(nproc)"
demo=build/release/demo/quenmark-demo

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$demo" "$@"
fi

pictures="$PWD/build/demo-screenshots"
rm -rf "$pictures"
echo "No display here: going through the demo offscreen."
"$demo" --screenshots "$pictures" "$@"
echo
echo "Pictures of the demo's screens are in $pictures/"
