#!/usr/bin/env bash
# Installs what is missing, builds and starts Qurvia; arguments are passed on
# (batch options such as --table or --image plot to files without a window).
# Only the program's own output reaches standard output: installing and
# building report on standard error.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
qurvia_install_missing "${QURVIA_BUILD_PACKAGES[@]}"
# The "program" preset builds without tests and benchmarks, which need
# packages of their own; test.sh reconfigures the same folder with them.
[ -f build/build.ninja ] || cmake --preset program >&2
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target qurvia >&2
exec ./build/app/qurvia "$@"
