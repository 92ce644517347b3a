#!/usr/bin/env bash
# Installs what is missing, builds and starts Qurvia; arguments are passed on
# (batch options such as --table or --image plot to files without a window).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
qurvia_install_missing "${QURVIA_BUILD_PACKAGES[@]}"
[ -f build/build.ninja ] || cmake --preset default >&2
cmake --build --preset default -j "$(nproc 2>/dev/null || echo 2)" --target qurvia >&2
exec ./build/app/qurvia "$@"
