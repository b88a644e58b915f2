#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`: clang, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each for a bounded time from its committed seed corpus and regression inputs, one target per core
# at a time.
#
# Usage: scripts/fuzz.sh [seconds per target (default 20)] [target ...]   (default: every target)
#
# Inputs the fuzzer finds interesting go to build/fuzz/corpus/<target>/, never into the tree. A finding
# (crash, sanitizer report, leak, broken property, input slower than 10 s) ends that target, fails the run
# once every target has had its turn, and leaves the input in build/fuzz/findings/; fix the fault and commit that input under
# tests/fuzz/regressions/<target>/, where the ordinary suite replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
shift || true

bash scripts/install-deps.sh
cmake --preset fuzz
cmake --build --preset fuzz -j "$(nproc)"

targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  for dir in tests/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:verify_asan_link_order=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p build/fuzz/findings
rm -f build/fuzz/*.failed

# Runs one target; a finding leaves build/fuzz/<target>.failed behind.
fuzz() {
  local target=$1
  local program="build/fuzz/tests/fuzz/fuzz_${target}"
  local work="build/fuzz/corpus/${target}"
  local log="build/fuzz/${target}.log"
  mkdir -p "$work"
  local inputs=("$work" "tests/fuzz/corpus/${target}")
  if [ -d "tests/fuzz/regressions/${target}" ]; then inputs+=("tests/fuzz/regressions/${target}"); fi
  if "$program" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/findings/${target}-" "${inputs[@]}" 2>"$log"; then
    echo "== ${target}: ${seconds} s, $(grep -oE "^stat::number_of_executed_units: *[0-9]+" "$log" | grep -oE "[0-9]+$") runs"
  else
    touch "build/fuzz/${target}.failed"
    echo "== ${target}: finding"
    grep -E "runtime error|ERROR|property broken|SUMMARY|Test unit written" "$log" | head -n 8 | sed "s/^/   /" || true
  fi
}

parallel="$(nproc)"
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  fuzz "$target" &
done
wait

failed=()
for target in "${targets[@]}"; do
  if [ -e "build/fuzz/${target}.failed" ]; then failed+=("$target"); fi
done
echo "fuzzing: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
if [ "${#failed[@]}" -gt 0 ]; then
  echo "findings in: ${failed[*]} (inputs in build/fuzz/findings/, logs in build/fuzz/<target>.log)" >&2
  exit 1
fi
