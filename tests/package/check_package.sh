#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks what it holds:
# the version, the dependencies and every file the desktop needs.
#   check_package.sh <build folder> <version>
set -euo pipefail
build_dir=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
package="$work/wertomat_${version}_amd64.deb"
[ -f "$package" ] || { ls "$work"; echo "check_package: no wertomat_${version}_amd64.deb"; exit 1; }

fail() { echo "check_package: $*"; exit 1; }
[ "$(dpkg-deb --field "$package" Version)" = "$version" ] || fail "version is not $version"
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
# Every file that names the version names this one.
grep -q "<release version=\"$version\"" "$work/root/usr/share/metainfo/wertomat.metainfo.xml" ||
    fail "the metainfo's release is not $version"
[ "$(zcat "$work/root/usr/share/doc/wertomat/changelog.gz" | head -1 | sed -n 's/^wertomat (\(.*\)).*/\1/p')" = "$version" ] ||
    fail "the changelog's top entry is not $version"
for page in wertomat wertomat-table; do
    zcat "$work/root/usr/share/man/man1/$page.1.gz" | head -1 | grep -qF "\"Wertomat $version\"" ||
        fail "man $page does not name $version"
done
page=$(MANWIDTH=80 man -l "$work/root/usr/share/man/man1/wertomat-table.1.gz" 2>/dev/null)
grep -q "EXIT-STATUS" <<<"$page" || fail "man wertomat-table does not render"
echo "check_package: $(basename "$package") holds everything"
