#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for a bounded time
# on its committed seed corpus.
#
#   scripts/fuzz.sh [-t SECONDS] [TARGET...]
#
# Without targets, every target with a corpus under fuzz/corpus/ runs. New
# inputs the fuzzer finds go to build-fuzz/corpus/<target>/, never into the
# committed corpus; a crashing input is written to build-fuzz/artifacts/ and
# the script fails. Copy such an input into fuzz/regressions/<target>/ once
# the fault is mended: the ordinary tests replay it from then on.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds=30
if [ "${1:-}" = "-t" ]; then
  seconds="$2"
  shift 2
fi
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in "$root"/fuzz/corpus/*/; do
    targets+=("$(basename "$dir")")
  done
fi

build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMIROVAX_FUZZ=ON -DMIROVAX_BUILD_UI=OFF -DMIROVAX_BUILD_TESTS=OFF -DMIROVAX_BUILD_BENCH=OFF
cmake --build "$build" -j2 --target "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
# Leaks of ecCodes's own, not of this program (see the file).
export LSAN_OPTIONS=suppressions="$root/fuzz/lsan.supp":print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in "${targets[@]}"; do
  echo "== $target: ${seconds} s"
  mkdir -p "$build/corpus/$target" "$build/artifacts"
  if ! "$build/bin/$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$target-" \
      "$build/corpus/$target" "$root/fuzz/corpus/$target"; then
    echo "== $target FAILED: see $build/artifacts/" >&2
    status=1
  fi
done
exit $status
