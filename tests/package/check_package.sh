#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks what it holds:
# the version, the dependencies and every file the desktop needs.
set -euo pipefail
build_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
package=$(ls "$work"/wertomat_*.deb)

fail() { echo "check_package: $*"; exit 1; }
[ "$(dpkg-deb --field "$package" Version)" = "1.0.0.1" ] || fail "version is not 1.0.0.1"
depends=$(dpkg-deb --field "$package" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 fonts-liberation qt6-translations-l10n qt6-wayland; do
    grep -q "$needed" <<<"$depends" || fail "no dependency on $needed: $depends"
done
contents=$(dpkg-deb --contents "$package")
for file in usr/bin/wertomat usr/bin/wertomat-table usr/share/applications/wertomat.desktop \
    usr/share/metainfo/wertomat.metainfo.xml usr/share/icons/hicolor/256x256/apps/wertomat.png \
    usr/share/icons/hicolor/16x16/apps/wertomat.png usr/share/man/man1/wertomat.1.gz \
    usr/share/man/man1/wertomat-table.1.gz usr/share/doc/wertomat/copyright; do
    grep -q "\./$file\$" <<<"$contents" || fail "missing $file"
done
# Debian's own checks: no lintian error, valid AppStream, readable manual pages.
lintian --fail-on error "$package" 2>/dev/null ||
    fail "lintian reports errors"
dpkg-deb -x "$package" "$work/root"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/wertomat.metainfo.xml" >/dev/null ||
    fail "AppStream metainfo does not validate"
grep -q "^License: Expat" "$work/root/usr/share/doc/wertomat/copyright" &&
    grep -q "<project_license>MIT</project_license>" "$work/root/usr/share/metainfo/wertomat.metainfo.xml" ||
    fail "the package does not name the MIT licence"
page=$(MANWIDTH=80 man -l "$work/root/usr/share/man/man1/wertomat-table.1.gz" 2>/dev/null)
grep -q "EXIT-STATUS" <<<"$page" || fail "man wertomat-table does not render"
echo "check_package: $(basename "$package") holds everything"
