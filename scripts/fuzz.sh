#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`: clang, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each for a bounded time from its committed seed corpus and regression inputs.
#
# Usage: scripts/fuzz.sh [seconds per target (default 20)] [target ...]   (default: every target)
#
# Inputs the fuzzer finds interesting go to build/fuzz/corpus/<target>/, never into the tree. A finding
# (crash, sanitizer report, leak, broken property, input slower than 10 s) stops the run with a non-zero
# status and leaves the input in build/fuzz/findings/; fix the fault and commit that input under
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
for target in "${targets[@]}"; do
  program="build/fuzz/tests/fuzz/fuzz_${target}"
  work="build/fuzz/corpus/${target}"
  mkdir -p "$work"
  inputs=("$work" "tests/fuzz/corpus/${target}")
  if [ -d "tests/fuzz/regressions/${target}" ]; then inputs+=("tests/fuzz/regressions/${target}"); fi
  echo "== ${target}: ${seconds} s"
  "$program" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/findings/${target}-" "${inputs[@]}" 2>"build/fuzz/${target}.log" || {
    tail -n 60 "build/fuzz/${target}.log"
    echo "fuzz target ${target} found a fault; the input is in build/fuzz/findings/" >&2
    exit 1
  }
  grep -E "^stat::number_of_executed_units|^#[0-9]+ +DONE" "build/fuzz/${target}.log" | tail -n 2 || true
done
echo "fuzzing: ${#targets[@]} passed, 0 failed"
