# Sourced by run.sh and test.sh: the Debian packages Qurvia needs, and a
# function that installs those that are missing, with sudo when not root.
#
# Packages are installed without their recommendations, so every package a
# build or a test really uses is listed here by name, also when another
# package would only recommend it.

# What building and running the program needs.
QURVIA_BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  libuemf-dev
  # The command line's pictures set up fontconfig themselves.
  libfontconfig-dev
  # Arial's metric-compatible face, which the chart and the windows use.
  fonts-liberation
)

# What the tests, benchmarks and fuzzers need on top.
QURVIA_TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev
  # The evaluators the expression benchmark compares with.
  libmuparser-dev libfparser-dev
  # libFuzzer and the sanitizer runtimes of the fuzzing build.
  clang libclang-rt-14-dev
  # The source format check.
  clang-format
  # pdftotext and pdfinfo read printed PDF files back.
  poppler-utils
  # wmf2gd plays our WMF files; its font map needs the URW base fonts,
  # which libwmf only recommends.
  libwmf-bin fonts-urw-base35
  # The reference of the command-line benchmark.
  gnuplot-nox
  # LibreOffice Calc reads our CSV tables back as a spreadsheet would.
  libreoffice-calc-nogui
  # Validators of the installed desktop entry, metadata and manual page.
  desktop-file-utils appstream groff-base
  # The Debian package: CPack's dependencies come from dpkg-shlibdeps
  # (dpkg-dev; file tells it which files are programs), lintian checks the
  # package, and mmdebstrap makes the fresh root it is installed into
  # (apt builds it; the archive's keys check it; mount gives the root its
  # /proc).
  dpkg-dev file fakeroot lintian mmdebstrap debian-archive-keyring gpg mount
  # shared-mime-info checks the document type's description.
  shared-mime-info
)

# Installs the named packages that are not installed yet. Everything it
# prints goes to standard error, so a program's own output stays clean.
qurvia_install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  {
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  } >&2
}
