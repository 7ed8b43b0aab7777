#!/usr/bin/env bash
# Builds the Debian package (build/package/quobrix_<version>-<release>_<arch>.deb)
# with CPack from the build folder ($QUOBRIX_BUILD_DIR, default build) and
# checks it with lintian, which must report no error.
#
#   --install-test   as root: also installs the package into this system with
#                    dpkg, runs the installed programs from /usr/bin, and
#                    removes the package again, whatever happens.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/${QUOBRIX_BUILD_DIR:-build}"

install_test=0
for argument in "$@"; do
  case $argument in
    --install-test) install_test=1 ;;
    -h|--help) sed -n '2,8s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "package.sh: unknown option: $argument" >&2; exit 2 ;;
  esac
done

fail() {
  echo "package.sh: $*" >&2
  exit 1
}

if [ "$install_test" = 1 ] && [ "$(id -u)" -ne 0 ]; then
  fail "--install-test installs into the system and needs root"
fi

"$root/scripts/setup.sh"
"$root/scripts/build.sh"

out="$build/package"
rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log" >&2; fail "cpack failed"; }
debs=("$out"/quobrix_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single quobrix_*.deb in $out"
deb=${debs[0]}
echo "package.sh: built $deb"

# Errors fail the build; warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

[ "$install_test" = 1 ] || exit 0

if dpkg-query -W -f='${Status}' quobrix 2>/dev/null | grep -q 'install ok installed'; then
  fail "quobrix is already installed here; the install test would remove it"
fi
removed=0
remove_package() {
  if [ "$removed" = 0 ]; then
    removed=1
    dpkg -r quobrix >/dev/null || echo "package.sh: dpkg -r quobrix failed" >&2
  fi
}
trap remove_package EXIT

dpkg -i "$deb" || fail "dpkg -i failed"
version=$(dpkg-deb -f "$deb" Version)
version=${version%-*}
work=$(mktemp -d /tmp/qx-package-XXXXXX)
trap 'remove_package; rm -rf "$work"' EXIT
[ "$(cd "$work" && HOME=$work /usr/bin/quobrix --version)" = "quobrix $version" ] || fail "/usr/bin/quobrix --version"
(cd "$work" && /usr/bin/quobrix-market --help) | grep -q '^usage: quobrix-market ' || fail "/usr/bin/quobrix-market --help"
[ -f /usr/share/quobrix/schemes/Quobrix.scheme ] || fail "no GUI data in /usr/share/quobrix"
desktop-file-validate /usr/share/applications/io.github.quobrix.Quobrix.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net /usr/share/metainfo/io.github.quobrix.Quobrix.metainfo.xml >/dev/null ||
  fail "appstreamcli validate"
dpkg -L quobrix | grep -qx /usr/share/man/man1/quobrix-market.1.gz || fail "the package lists no manual page"
remove_package
[ ! -e /usr/bin/quobrix ] && [ ! -e /usr/share/quobrix ] || fail "dpkg -r left files behind"
echo "package.sh: installed, ran and removed quobrix $version"
