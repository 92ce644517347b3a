#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop
# finds there: the desktop entry and the AppStream metadata pass their
# validators, the icon and the manual page are in place, the manual page
# formats without warnings, and the installed qurvia finds the programs it
# starts.
#
#   InstallCheck.sh <build dir>
set -euo pipefail
build=${1:?usage: InstallCheck.sh <build dir>}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

share=$prefix/share
for f in "$prefix/bin/qurvia" "$prefix/libexec/qurvia/qurvia-gui" "$prefix/libexec/qurvia/qurvia-image" \
         "$share/applications/io.github.qurvia.Qurvia.desktop" \
         "$share/metainfo/io.github.qurvia.Qurvia.metainfo.xml" \
         "$share/icons/hicolor/scalable/apps/qurvia.svg" "$share/man/man1/qurvia.1"; do
  [ -e "$f" ] || { echo "not installed: ${f#$prefix/}" >&2; exit 1; }
done

desktop-file-validate "$share/applications/io.github.qurvia.Qurvia.desktop"
appstreamcli validate --no-net --pedantic "$share/metainfo/io.github.qurvia.Qurvia.metainfo.xml"

# groff reports every problem of the page as a warning on standard error.
warnings=$(groff -man -Tutf8 -ww -z "$share/man/man1/qurvia.1" 2>&1)
if [ -n "$warnings" ]; then
  echo "qurvia.1: $warnings" >&2
  exit 1
fi
# An image run starts qurvia-image from its private folder.
"$prefix/bin/qurvia" --image "$prefix/check.png" --settings "$prefix/check.ini"
[ -s "$prefix/check.png" ] || { echo "the installed qurvia wrote no image" >&2; exit 1; }
echo "installed files check out"
