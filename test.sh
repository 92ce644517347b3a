#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite through
# ctest: the optimised build, the sanitizer build of the plain C++ libraries,
# and a short fuzzing run of the expression engine. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
qurvia_install_missing "${QURVIA_BUILD_PACKAGES[@]}" "${QURVIA_TEST_PACKAGES[@]}"

jobs=$(nproc 2>/dev/null || echo 2)

echo "== source format"
find core expr mathlib settings platform printing chart app tests bench fuzz \
  \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run --Werror

echo "== optimised build and tests"
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs" --timeout 600

echo "== sanitizer build (address, undefined) of the plain C++ libraries"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset asan -j "$jobs" --timeout 600

echo "== fuzzing"
bash fuzz/run-fuzzers.sh "${QURVIA_FUZZ_SECONDS:-30}"
