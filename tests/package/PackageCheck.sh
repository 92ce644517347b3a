#!/usr/bin/env bash
# Builds the Debian package and checks it the way a user's machine would
# meet it:
#   - lintian reports no error and no warning;
#   - its contents (dpkg-deb --contents) are the program's files in their
#     Debian places, owned by root, and nothing else;
#   - in a fresh Debian root (mmdebstrap --variant=minbase, from the Debian
#     archive that this machine's apt sources name) apt installs it with the
#     libraries it needs and nothing recommended, the installed qurvia
#     answers --version, writes the same table as the build's own qurvia and
#     an image of the default size, and apt removes it without leaving a
#     file behind.
#
#   PackageCheck.sh <build dir>     (a build configured with the default preset)
#
# Needs root (mmdebstrap and chroot) and the archive; test.sh runs it where
# both are there. The downloaded packages are kept in
# <build dir>/package-check-cache for the next run; the fresh root is made
# in a temporary folder that is removed however the script ends.
set -euo pipefail
build=$(cd "${1:?usage: PackageCheck.sh <build dir>}" && pwd)

fail() {
  echo "package check: $*" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] || fail "needs root (mmdebstrap makes the fresh root as root)"

# --- the package ---------------------------------------------------------
# QURVIA_PACKAGE_BUILT=1: the package has just been built (by the user whom
# the build folder belongs to); only check it.
[ "${QURVIA_PACKAGE_BUILT:-}" = 1 ] || cmake --build "$build" --target package >/dev/null
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$build/qurvia_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb after building the package"
echo "built ${deb#$build/}"

# --- lintian -----------------------------------------------------------------
# Info and pedantic tags are shown but pass; an error or a warning fails.
lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb" \
  || fail "lintian reports errors or warnings (above)"
echo "lintian: no error, no warning"

# --- contents ------------------------------------------------------------
contents=$(dpkg-deb --contents "$deb")
expected_files=(
  ./usr/bin/qurvia
  ./usr/libexec/qurvia/qurvia-gui
  ./usr/libexec/qurvia/qurvia-image
  ./usr/share/applications/io.github.qurvia.Qurvia.desktop
  ./usr/share/doc/qurvia/changelog.gz
  ./usr/share/doc/qurvia/copyright
  ./usr/share/icons/hicolor/scalable/apps/qurvia.svg
  ./usr/share/man/man1/qurvia.1.gz
  ./usr/share/metainfo/io.github.qurvia.Qurvia.metainfo.xml
  ./usr/share/mime/packages/qurvia.xml
)
programs=(./usr/bin/qurvia ./usr/libexec/qurvia/qurvia-gui ./usr/libexec/qurvia/qurvia-image)
actual_files=$(awk '$1 !~ /^d/ {print $6}' <<<"$contents" | sort)
if [ "$actual_files" != "$(printf '%s\n' "${expected_files[@]}" | sort)" ]; then
  diff <(printf '%s\n' "${expected_files[@]}" | sort) <(echo "$actual_files") >&2 || true
  fail "the package's files differ from the expected ones (- expected, + packaged)"
fi
awk '$2 != "root/root" {bad = 1; print "not owned by root: " $6 > "/dev/stderr"} END {exit bad}' <<<"$contents" \
  || fail "files not owned by root"
while read -r mode _ _ _ _ path; do
  want=-rw-r--r--
  [[ $mode == d* ]] && want=drwxr-xr-x
  for p in "${programs[@]}"; do [ "$path" = "$p" ] && want=-rwxr-xr-x; done
  [ "$mode" = "$want" ] || fail "$path has mode $mode, not $want"
done <<<"$contents"
depends=$(dpkg-deb --field "$deb" Depends)
for d in fonts-liberation libc6 libqt6core6 libqt6gui6 libqt6widgets6 libfontconfig1; do
  grep -Eq "(^|, )$d( |,|$)" <<<"$depends" || fail "Depends lacks $d: $depends"
done
echo "contents: ${#expected_files[@]} files in their places; depends on $depends"

# --- a fresh root ------------------------------------------------------
# The Debian archive as this machine's apt sources name it (any source
# format): one "deb URI SUITE COMPONENT" line per Debian package index.
mirrors=()
while read -r uri suite component; do
  mirrors+=("deb $uri $suite $component")
done < <(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
           'Identifier: Packages' 'Origin: Debian' | sort -u)
[ ${#mirrors[@]} -gt 0 ] || fail "this machine's apt sources name no Debian archive"
suite=bookworm

cache=$build/package-check-cache
mkdir -p "$cache"
# Packages this machine's apt already downloaded are reused as hard links
# (the cache is on the same file system when both are local).
cp -l -n /var/cache/apt/archives/*.deb "$cache/" 2>/dev/null || true

work=$(mktemp -d "${TMPDIR:-/tmp}/qurvia-package-check.XXXXXX")
root=$work/root
# The cache is bind-mounted into the root while apt runs there. Whatever is
# still mounted under the work folder when the script ends (the cache, or
# what a stopped mmdebstrap left) is detached before the folder is removed,
# so the removal never reaches into it.
builder=""
mounts_under_work() {
  awk -v w="$work/" 'index($2, w) == 1 {print $2}' /proc/mounts | sort -r
}
cleanup() {
  local status=$? m
  set +e
  # A check stopped half-way stops mmdebstrap and what it runs in the root
  # (its own process group), and waits until it has unmounted.
  if [ -n "$builder" ]; then
    kill -TERM -- "-$builder" 2>/dev/null || kill -TERM "$builder" 2>/dev/null
    while kill -0 "$builder" 2>/dev/null; do sleep 1; done
  fi
  for m in $(mounts_under_work); do
    umount "$m" 2>/dev/null || umount -l "$m"
  done
  if [ -n "$(mounts_under_work)" ]; then
    echo "package check: mounts remain under $work; left it in place" >&2
  else
    rm -rf --one-file-system "$work"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$build/app/qurvia" --table - >"$work/table.expected"
cp "$deb" "$work/qurvia.deb"
cat >"$work/inside.sh" <<'INSIDE'
#!/bin/sh
# Runs in the fresh root: installs the package, runs it, removes it.
set -eu
export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8
apt-get install -y -q --no-install-recommends /tmp/check/qurvia.deb >/tmp/check/install.log 2>&1 \
  || { cat /tmp/check/install.log; exit 1; }
dpkg -L qurvia >/tmp/check/installed-paths
qurvia --version >/tmp/check/version
qurvia --table - >/tmp/check/table.actual
cd /tmp/check
qurvia --image x.png
apt-get remove -y -q qurvia >/tmp/check/remove.log 2>&1 || { cat /tmp/check/remove.log; exit 1; }
# Every file and private folder the package installed is gone (shared
# folders such as /usr/bin stay, as they belong to other packages too).
left=0
while read -r path; do
  case "$path" in
    /usr/bin/qurvia | /usr/libexec/qurvia* | /usr/share/doc/qurvia* | */qurvia* | */io.github.qurvia.*)
      if [ -e "$path" ]; then echo "left behind: $path"; left=1; fi ;;
  esac
done </tmp/check/installed-paths
dpkg-query -W -f='${Status}\n' qurvia 2>/dev/null | grep -q 'config-files' && { echo "left behind: configuration files"; left=1; }
exit "$left"
INSIDE
chmod 755 "$work/inside.sh"

echo "making a fresh $suite root (minbase) and installing the package there"
# The root is thrown away: no translations to download, no syncing to disk.
# mmdebstrap runs as a child in a process group of its own that the script
# waits for, so that a signal to the script reaches its trap at once.
setsid mmdebstrap --variant=minbase --quiet --skip=essential/unlink \
    --aptopt='Acquire::Languages "none"' --dpkgopt=force-unsafe-io \
    --setup-hook='mkdir -p "$1/var/cache/apt/archives"' \
    --setup-hook="mount --bind '$cache' \"\$1/var/cache/apt/archives\"" \
    --customize-hook='mkdir -p "$1/tmp/check"' \
    --customize-hook="copy-in '$work/qurvia.deb' '$work/inside.sh' /tmp/check" \
    --customize-hook='chroot "$1" /tmp/check/inside.sh' \
    --customize-hook="copy-out /tmp/check/version /tmp/check/table.actual /tmp/check/x.png '$work'" \
    --customize-hook='umount "$1/var/cache/apt/archives"' \
    "$suite" "$root" "${mirrors[@]}" >"$work/mmdebstrap.log" 2>&1 &
builder=$!
if ! wait "$builder"; then
  builder=""
  cat "$work/mmdebstrap.log" >&2
  fail "installing, running or removing the package in the fresh root failed (above)"
fi
builder=""
grep -qF "$version" "$work/version" || fail "the installed qurvia --version does not say $version: $(cat "$work/version")"

cmp -s "$work/table.expected" "$work/table.actual" \
  || { diff "$work/table.expected" "$work/table.actual" >&2 || true; fail "the installed qurvia writes another table"; }
# A PNG of the default 353 x 305 pixels: its signature, then the IHDR
# chunk's width and height as big-endian 32-bit numbers.
header=$(od -An -tx1 -N24 "$work/x.png" | tr -d ' \n')
[ "$header" = 89504e470d0a1a0a0000000d494844520000016100000131 ] \
  || fail "the installed qurvia's image is no 353 x 305 PNG (its first bytes: $header)"
echo "fresh root: installed, ran --version, --table - (same table as the build) and --image x.png; removed without a trace"
echo "package check passed"
