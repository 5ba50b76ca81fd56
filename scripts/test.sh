#!/usr/bin/env bash
# Installs what the tests need and is missing (the test profile of
# install-deps.sh), builds Mirovax with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" test
build="$root/build-test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIROVAX_SANITIZE=ON -DMIROVAX_WERROR=ON
cmake --build "$build"
# The sources keep the project's clang-format style.
cmake --build "$build" --target format-check
# clang-tidy's checks (.clang-tidy); any finding fails.
"$root/scripts/tidy.sh" "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
ctest_log="$build/ctest.log"
ctest --test-dir "$build" --output-on-failure -j2 | tee "$ctest_log"

# The fuzz targets, each for a bounded time on its committed seed corpus.
"$root/scripts/fuzz.sh" -t "${MIROVAX_FUZZ_SECONDS:-20}"

# One closing line for the whole run.
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$ctest_log" | tail -n 1)
total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
failed=$(echo "$summary" | sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/')
echo "tests: $((total - failed)) passed, $failed failed"
