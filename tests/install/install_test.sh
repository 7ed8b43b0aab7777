#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what arrives there:
# exactly the programs, the read-only data, the desktop entry, icons,
# AppStream metadata, manual pages and documents; that the desktop tools
# accept the entry and the metadata; and that the installed program answers.
set -euo pipefail

BUILD=$(cd "${1:?build directory}" && pwd)
SRC=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d /tmp/qx-install-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
PREFIX=$WORK/prefix
APP_ID=io.github.quobrix.Quobrix

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" || { cat "$WORK/install.log" >&2; fail "cmake --install"; }

# What must be there, and nothing else (no tests, benchmarks, libraries or headers).
{
  echo bin/quobrix
  echo bin/quobrix-market
  for dir in schemes imagesets layouts looknfeel; do
    for f in "$SRC/datafiles/$dir"/*; do echo "share/quobrix/$dir/$(basename "$f")"; done
  done
  echo share/quobrix/imagesets/TaharezLook.imageset
  echo share/quobrix/imagesets/TaharezLook.png
  echo share/quobrix/looknfeel/TaharezLook.looknfeel
  echo "share/applications/$APP_ID.desktop"
  echo "share/metainfo/$APP_ID.metainfo.xml"
  for size in 16 24 32 48 64 128 256; do echo "share/icons/hicolor/${size}x$size/apps/quobrix.png"; done
  echo share/icons/hicolor/scalable/apps/quobrix.svg
  echo share/man/man1/quobrix.1.gz
  echo share/man/man1/quobrix-market.1.gz
  echo share/doc/quobrix/copyright
  echo share/doc/quobrix/changelog.Debian.gz
} | sort >"$WORK/expected"
(cd "$PREFIX" && find . ! -type d | sed 's|^\./||' | sort) >"$WORK/installed"
diff -u "$WORK/expected" "$WORK/installed" >&2 || fail "installed files differ from the expected ones (- missing, + unexpected)"

for program in quobrix quobrix-market; do
  [ -x "$PREFIX/bin/$program" ] || fail "bin/$program is not executable"
done
# The program finds its data one level up from bin/.
[ -f "$PREFIX/bin/../share/quobrix/schemes/Quobrix.scheme" ] || fail "no scheme in ../share/quobrix"
[ -f "$PREFIX/share/quobrix/imagesets/quobrix.png" ] || fail "no window icon in the data"

# The installed programs answer, and say the version the metadata and manual carry.
version_line=$(cd "$WORK" && "$PREFIX/bin/quobrix" --version) || fail "quobrix --version failed"
[[ $version_line =~ ^quobrix\ ([0-9]+\.[0-9]+)$ ]] || fail "quobrix --version said: $version_line"
version=${BASH_REMATCH[1]}
[ "$(cd "$WORK" && "$PREFIX/bin/quobrix-market" --version)" = "quobrix-market $version" ] ||
  fail "quobrix-market --version does not say $version"
(cd "$WORK" && "$PREFIX/bin/quobrix-market" --help) | grep -q '^usage: quobrix-market ' || fail "quobrix-market --help"
grep -q "<release version=\"$version\"" "$PREFIX/share/metainfo/$APP_ID.metainfo.xml" ||
  fail "the metainfo's release is not $version"

desktop-file-validate "$PREFIX/share/applications/$APP_ID.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$PREFIX/share/metainfo/$APP_ID.metainfo.xml" >"$WORK/appstream.log" 2>&1 ||
  { cat "$WORK/appstream.log" >&2; fail "appstreamcli validate"; }

# The desktop entry names what the install provides.
entry=$PREFIX/share/applications/$APP_ID.desktop
grep -qx 'Exec=quobrix' "$entry" || fail "the entry does not start quobrix"
grep -qx 'Icon=quobrix' "$entry" || fail "the entry's icon is not quobrix"
grep -qx 'StartupWMClass=quobrix' "$entry" || fail "the entry's window class is not quobrix"

for size in 16 24 32 48 64 128 256; do
  file "$PREFIX/share/icons/hicolor/${size}x$size/apps/quobrix.png" | grep -q "PNG image data, $size x $size," ||
    fail "the ${size}px icon is not a $size x $size PNG"
done
grep -q '<svg' "$PREFIX/share/icons/hicolor/scalable/apps/quobrix.svg" || fail "the scalable icon is no SVG"

for page in quobrix quobrix-market; do
  gz=$PREFIX/share/man/man1/$page.1.gz
  gzip -t "$gz" || fail "$page.1.gz is not gzip"
  zcat "$gz" | grep -q "^\.TH .*\"Quobrix $version\"" || fail "$page.1 does not carry version $version"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page.1: $warnings"
done
zcat "$PREFIX/share/man/man1/quobrix.1.gz" | grep -q QUOBRIX_TOP_URL || fail "quobrix.1 lacks the environment"
zcat "$PREFIX/share/doc/quobrix/changelog.Debian.gz" | head -1 | grep -q "^quobrix ($version-" ||
  fail "the changelog's first entry is not $version"

echo "install: $(wc -l <"$WORK/installed") files under the prefix, quobrix $version"
