#!/usr/bin/env bash
# Installs the built program into a temporary prefix and checks what a desktop finds
# there: every file in its place, the menu entry and the AppStream data accepted by
# their validators, and all names pointing at each other.
#
#   check_install.sh BUILD_DIR APP_ID
set -euo pipefail

build=$1
id=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix=$root/usr
failures=0
no_homepage=()
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
for file in "$desktop" "$metainfo" "$prefix/share/icons/hicolor/scalable/apps/$id.svg" \
    "$prefix/share/man/man1/zaryaj.1.gz" "$prefix/share/doc/zaryaj/copyright" \
    "$prefix/share/doc/zaryaj/changelog.gz"; do
    [[ -f $file ]] || fail "not installed: ${file#"$root"}"
done
[[ -x $prefix/bin/zaryaj ]] || fail "no program in bin/"

# Each PNG must be as large as the folder it sits in says (width and height are the
# big-endian words at bytes 16 and 20 of the file).
for size in 16 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    if [[ ! -f $png ]]; then
        fail "no ${size} px icon"
        continue
    fi
    read -r -a bytes < <(od -An -tu1 -j16 -N8 "$png")
    width=$(((bytes[0] << 24) + (bytes[1] << 16) + (bytes[2] << 8) + bytes[3]))
    height=$(((bytes[4] << 24) + (bytes[5] << 16) + (bytes[6] << 8) + bytes[7]))
    [[ $width == "$size" && $height == "$size" ]] ||
        fail "${size} px icon is ${width}x${height}"
done

echo "desktop-file-validate:"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $id.desktop"
# AppStream 1.0 wants a homepage, which the program has not (see the file's comment); AppStream
# 0.16 knows no such warning and refuses to be told of it.
[[ $(appstreamcli --version) =~ version:\ 0\. ]] || no_homepage=(--override=url-homepage-missing=info)
echo "appstreamcli validate --no-net${no_homepage:+ ${no_homepage[*]}}:"
appstreamcli validate --no-net "${no_homepage[@]}" "$metainfo" || fail "appstreamcli rejects $id.metainfo.xml"

# The names that tie the pieces together.
key() { sed -n "s/^$1=//p" "$desktop"; }
[[ $(key Icon) == "$id" ]] || fail "Icon= is '$(key Icon)', not $id"
exec=$(key Exec)
[[ $exec == "$prefix/bin/zaryaj" && -x $exec ]] || fail "Exec= is '$exec', not $prefix/bin/zaryaj"
grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $id.desktop"
binary=$(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo")
[[ -n $binary && -x $prefix/bin/$binary ]] || fail "metainfo provides '$binary', not installed"

# The desktop's bus finds both programs, and its searches find the service, by name.
services=$prefix/share/dbus-1/services
for service in "$id:bin/zaryaj" "$id.SearchProvider:libexec/zaryaj/zaryaj-search-provider"; do
    file=$services/${service%%:*}.service
    [[ $(sed -n 's/^Name=//p' "$file" 2>/dev/null) == "${service%%:*}" ]] || fail "no bus service ${service%%:*}"
    [[ $(sed -n 's/^Exec=//p' "$file") == "$prefix/${service#*:}" && -x $prefix/${service#*:} ]] ||
        fail "${file##*/} starts '$(sed -n 's/^Exec=//p' "$file")', not $prefix/${service#*:}"
done
grep -qx "DBusActivatable=true" "$desktop" || fail "$id.desktop is not D-Bus activatable"
ini=$prefix/share/gnome-shell/search-providers/$id.search-provider.ini
grep -qx "DesktopId=$id.desktop" "$ini" && grep -qx "BusName=$id.SearchProvider" "$ini" ||
    fail "GNOME's search provider file does not name $id"
runner=$prefix/share/krunner/dbusplugins/$id.desktop
grep -qx "X-Plasma-DBusRunner-Service=$id.SearchProvider" "$runner" || fail "KRunner's file does not name $id"

# The installed program starts: without a display it says so in one line and exits 1
# (a missing library or a broken install would fail differently).
status=0
message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/zaryaj" 2>&1) ||
    status=$?
[[ $status == 1 && $(wc -l <<<"$message") == 1 && $message == zaryaj:* ]] ||
    fail "installed program without a display: exit $status, '$message'"

if ((failures)); then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "installed files: all checks passed"
