#!/usr/bin/env bash
# Prints the size of the tests against the size of the code they test, in non-blank lines of source
# (C++, QML, JavaScript, Python, shell and CMake files). Usage: scripts/test-stats.sh [--files]
# With --files, also lists the test files from the largest down.
set -euo pipefail
cd "$(dirname "$0")/.."

# Non-blank lines of the source files under the given paths (missing paths count as empty).
count() {
  local existing=()
  for path in "$@"; do [[ -e "$path" ]] && existing+=("$path"); done
  [[ ${#existing[@]} -gt 0 ]] || { echo 0; return; }
  find "${existing[@]}" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.qml' -o -name '*.js' \
    -o -name '*.py' -o -name '*.sh' -o -name 'CMakeLists.txt' -o -name '*.cmake' \) -print0 |
    xargs -0 -r grep -c '[^[:space:]]' /dev/null | awk -F: '{ lines += $NF } END { print lines + 0 }'
}

tests=$(count tests)
code=$(count include src qt devserver tools bench demo scripts cmake CMakeLists.txt)
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests %d / code %d = %.2f\n", t, c, (c > 0 ? t / c : 0) }'

if [[ "${1:-}" == "--files" ]]; then
  find tests -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.qml' -o -name '*.js' \
    -o -name '*.py' -o -name '*.sh' -o -name 'CMakeLists.txt' -o -name '*.cmake' \) -print0 |
    while IFS= read -r -d '' file; do printf '%6d %s\n' "$(grep -c '[^[:space:]]' "$file" || true)" "$file"; done |
    sort -rn
fi
