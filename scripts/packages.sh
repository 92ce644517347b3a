# Sourced by run.sh and test.sh: installs the Debian packages Qurvia needs,
# only those that are missing, with sudo when not root.

QURVIA_BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  libuemf-dev fonts-liberation
)
QURVIA_TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev libfparser-dev
  clang libclang-rt-14-dev
  poppler-utils libwmf-bin gnuplot-nox
)

qurvia_install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
