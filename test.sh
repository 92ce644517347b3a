#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite through
# ctest: the optimised build, the sanitizer build of the plain C++ libraries,
# and a short fuzzing run of the expression engine; and, where it can, the
# Debian package's check in a fresh Debian root. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
qurvia_install_missing "${QURVIA_BUILD_PACKAGES[@]}" "${QURVIA_TEST_PACKAGES[@]}"

jobs=$(nproc 2>/dev/null || echo 2)

echo "== source format"
find core expr mathlib analysis document settings platform printing chart app tests bench fuzz \
  \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run --Werror

echo "== optimised build and tests"
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs" --timeout 600

echo "== Debian package"
# Whether the Debian archive that apt's sources name answers (apt knows the
# archive's origin once it has read its lists).
debian_archive_reachable() {
  local uri suite file status
  read -r uri suite < <(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' \
                          'Identifier: Packages' 'Origin: Debian' 2>/dev/null | sort -u) || return 1
  file=$(mktemp)
  timeout 60 /usr/lib/apt/apt-helper download-file "${uri}dists/$suite/Release" "$file" >/dev/null 2>&1
  status=$?
  rm -f "$file"
  return "$status"
}
if [ "$(id -u)" -ne 0 ] && ! sudo -n true 2>/dev/null; then
  echo "skipped: the fresh Debian root needs root, or sudo without a password"
elif ! debian_archive_reachable; then
  echo "skipped: the Debian archive named in the apt sources does not answer"
elif [ "$(id -u)" -eq 0 ]; then
  bash tests/package/PackageCheck.sh build
else
  # The package is built as the user, so that build/ stays the user's.
  cmake --build build --target package >/dev/null
  sudo -n env QURVIA_PACKAGE_BUILT=1 bash tests/package/PackageCheck.sh build
fi

echo "== sanitizer build (address, undefined) of the plain C++ libraries"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset asan -j "$jobs" --timeout 600

echo "== fuzzing"
bash fuzz/run-fuzzers.sh "${QURVIA_FUZZ_SECONDS:-30}"
