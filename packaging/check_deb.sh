#!/usr/bin/env bash
# Builds the Debian package from the build tree, as the README's command does, and
# checks it: the control fields a user's apt relies on, the files, and lintian.
#
#   check_deb.sh BUILD_DIR OUTPUT_DIR
set -euo pipefail

build=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    {
        cat "$out/cpack.log" >&2
        exit 1
    }
debs=("$out"/zaryaj_*.deb)
deb=${debs[0]}
[[ -f $deb ]] || {
    echo "FAIL: cpack made no package" >&2
    exit 1
}
echo "package: $deb"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == zaryaj ]] || fail "Package is '$(field Package)'"
# For the Debian release it is built on, which its version names.
release=$(. /etc/os-release && [[ ${ID:-} == debian ]] && echo "${VERSION_ID:-}" || true)
[[ $(field Version) == "1.0${release:++deb$release}" ]] || fail "Version is '$(field Version)'"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] ||
    fail "Architecture is '$(field Architecture)'"
depends=$(field Depends)
echo "Depends: $depends"
# Found by dpkg-shlibdeps, and the two that it cannot see.
for needed in libqt6widgets6 libqt6printsupport6 libc6 qt6-qpa-plugins fonts-liberation; do
    [[ ", $depends" == *", $needed "* || ", $depends," == *", $needed,"* ]] ||
        fail "Depends lacks $needed"
done
# A private symbol of Qt would tie the package to the very Qt it was built with
# (qt6-base-abi on Debian 12, qt6-base-private-abi later): a newer Qt would make it
# uninstallable until rebuilt.
[[ $depends != *-abi* ]] || fail "Depends ties the package to Qt's private ABI"
[[ $(field Description) == *Заряй* ]] || fail "no Russian description"

contents=$(dpkg-deb --contents "$deb")
for path in ./usr/bin/zaryaj ./usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/zaryaj/zaryaj-print.so \
    ./usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/zaryaj/zaryaj-wayland.so ./usr/share/applications/ru.zaryaj.Directory.desktop \
    ./usr/share/metainfo/ru.zaryaj.Directory.metainfo.xml \
    ./usr/share/icons/hicolor/256x256/apps/ru.zaryaj.Directory.png \
    ./usr/share/man/man1/zaryaj.1.gz ./usr/share/doc/zaryaj/copyright \
    ./usr/libexec/zaryaj/zaryaj-search-provider ./usr/share/dbus-1/services/ru.zaryaj.Directory.service \
    ./usr/share/dbus-1/services/ru.zaryaj.Directory.SearchProvider.service \
    ./usr/share/gnome-shell/search-providers/ru.zaryaj.Directory.search-provider.ini \
    ./usr/share/krunner/dbusplugins/ru.zaryaj.Directory.desktop; do
    grep -q " $path\$" <<<"$contents" || fail "package lacks $path"
done

entry=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/ru.zaryaj.Directory.desktop)
grep -qx Exec=zaryaj <<<"$entry" || fail "the package's menu entry does not start zaryaj from PATH"

# The package's AppStream data as lintian has AppStream judge it, less the one warning that
# the package tells lintian to pass over where AppStream 1.0 gives it (no homepage).
tree=$out/tree
dpkg-deb --extract "$deb" "$tree"
overrides=()
[[ -f $tree/usr/share/lintian/overrides/zaryaj ]] && overrides=(--override=url-homepage-missing=info)
appstreamcli validate-tree --no-net "${overrides[@]}" "$tree" >"$out/appstream.log" 2>&1 ||
    fail "AppStream rejects the package's tree: $(cat "$out/appstream.log")"

# Errors and warnings fail the test.
echo "lintian:"
lintian --fail-on error,warning --display-info "$deb" 2>&1 | tee "$out/lintian.log" ||
    fail "lintian reports errors or warnings"
# Debian's hardening, which lintian only notes when missing: all of it, but that the program
# calls no checked function (each call's size is known when it is compiled).
grep hardening- "$out/lintian.log" | grep -qvF "hardening-no-fortify-functions [usr/bin/zaryaj]" &&
    fail "binaries without Debian's hardening"

if ((failures)); then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "Debian package: all checks passed"
