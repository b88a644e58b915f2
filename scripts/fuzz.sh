#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`: clang, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each for a bounded time from its committed seed corpus and regression inputs.
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
failed=()
for target in "${targets[@]}"; do
  program="build/fuzz/tests/fuzz/fuzz_${target}"
  work="build/fuzz/corpus/${target}"
  mkdir -p "$work"
  inputs=("$work" "tests/fuzz/corpus/${target}")
  if [ -d "tests/fuzz/regressions/${target}" ]; then inputs+=("tests/fuzz/regressions/${target}"); fi
  echo "== ${target}: ${seconds} s"
  if "$program" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/findings/${target}-" "${inputs[@]}" 2>"build/fuzz/${target}.log"; then
    grep -E "^stat::number_of_executed_units" "build/fuzz/${target}.log" || true
  else
    grep -E "runtime error|ERROR|property broken|SUMMARY|Test unit written" "build/fuzz/${target}.log" | head -n 8
    failed+=("$target")
  fi
done
echo "fuzzing: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
if [ "${#failed[@]}" -gt 0 ]; then
  echo "findings in: ${failed[*]} (inputs in build/fuzz/findings/, logs in build/fuzz/<target>.log)" >&2
  exit 1
fi
