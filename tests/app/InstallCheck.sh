#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop
# finds there: the desktop entry and the AppStream metadata pass their
# validators, the document type's description builds a MIME database that
# knows *.qurvia, the desktop entry and the metadata name that type, the
# icon, the manual page and the copyright are in place, the manual page
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
         "$share/icons/hicolor/scalable/apps/qurvia.svg" "$share/man/man1/qurvia.1.gz" \
         "$share/mime/packages/qurvia.xml" "$share/doc/qurvia/copyright" "$share/doc/qurvia/changelog.gz"; do
  [ -e "$f" ] || { echo "not installed: ${f#$prefix/}" >&2; exit 1; }
done

desktop-file-validate "$share/applications/io.github.qurvia.Qurvia.desktop"
appstreamcli validate --no-net --pedantic "$share/metainfo/io.github.qurvia.Qurvia.metainfo.xml"

# The MIME database built from the installed description (update-mime-database
# reports a malformed one on standard error) maps the extension to the type
# that the desktop entry opens and the metadata provides.
mime_type=application/x-qurvia
# (named as a data folder, so that it does not note that none is searched)
mime_errors=$(XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share" update-mime-database "$share/mime" 2>&1)
if [ -n "$mime_errors" ]; then
  echo "qurvia.xml: $mime_errors" >&2
  exit 1
fi
grep -qx "[0-9]*:$mime_type:\*\.qurvia" "$share/mime/globs2" \
  || { echo "the MIME database does not map *.qurvia to $mime_type" >&2; exit 1; }
grep -qx "MimeType=$mime_type;" "$share/applications/io.github.qurvia.Qurvia.desktop" \
  || { echo "the desktop entry does not open $mime_type" >&2; exit 1; }
grep -q "<mediatype>$mime_type</mediatype>" "$share/metainfo/io.github.qurvia.Qurvia.metainfo.xml" \
  || { echo "the metadata does not provide $mime_type" >&2; exit 1; }

# groff reports every problem of the page as a warning on standard error.
warnings=$(gzip -dc "$share/man/man1/qurvia.1.gz" | groff -man -Tutf8 -ww -z 2>&1)
if [ -n "$warnings" ]; then
  echo "qurvia.1: $warnings" >&2
  exit 1
fi
# An image run starts qurvia-image from its private folder.
"$prefix/bin/qurvia" --image "$prefix/check.png" --settings "$prefix/check.ini"
[ -s "$prefix/check.png" ] || { echo "the installed qurvia wrote no image" >&2; exit 1; }
echo "installed files check out"
