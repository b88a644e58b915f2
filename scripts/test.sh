#!/usr/bin/env bash
# Builds everything and runs every test. Usage: scripts/test.sh [preset]   (default: asan)
# Installs the Debian packages it needs first, so it works on a fresh Debian 12 machine.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-asan}"

bash scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
