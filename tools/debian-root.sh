#!/usr/bin/env bash
# debian-root.sh RELEASE COMMAND...: runs COMMAND (as root, in /src/NAME, NAME being this
# tree's folder's name) in a fresh-as-installed Debian RELEASE (a codename: trixie, forky)
# of its own, as a new user's machine: a minimal root made by debootstrap, entered with
# chroot in a mount namespace of its own, so that nothing it mounts outlives it. The root
# is kept in the cache (ZARYAJ_CACHE, or ~/.cache/zaryaj) between runs, with what apt
# installed in it, and made anew when it is a week old. This tree's files (those git
# tracks or would track) are copied in; a build folder made there before is kept.
# With RELEASE unknown to the mirror, says so and exits 77.
set -euo pipefail
release=$1
shift
tree=$(cd "$(dirname "$0")/.." && pwd)
mirror=${ZARYAJ_MIRROR:-http://deb.debian.org/debian}
cache=${ZARYAJ_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zaryaj}/roots
root=$cache/$release
say() { echo "debian-root.sh: $*"; }

[[ $(id -u) -eq 0 ]] || exec sudo --preserve-env=ZARYAJ_CACHE,ZARYAJ_MIRROR "$0" "$release" "$@"
source "$tree/tools/install-missing.sh"
install_missing debootstrap util-linux

if ! curl -fsI "$mirror/dists/$release/Release" >/dev/null 2>&1 &&
    ! wget -q --spider "$mirror/dists/$release/Release" 2>/dev/null; then
    say "skipped: $mirror has no $release"
    exit 77
fi

mkdir -p "$cache"
# One run at a time makes or changes a root; others wait for it.
exec {lock}>"$cache/$release.lock"
flock "$lock"

if [[ -f $root/.zaryaj-made ]] && (($(date +%s) - $(cat "$root/.zaryaj-made") > 7 * 86400)); then
    say "$release's root is a week old: made anew"
    rm -rf --one-file-system "$root"
fi
if [[ ! -f $root/.zaryaj-made ]]; then
    say "making a $release root (debootstrap --variant=minbase) in $root"
    rm -rf --one-file-system "$root" "$root.new"
    # Debian 12's debootstrap has no script named for every later release; sid's serves.
    script=/usr/share/debootstrap/scripts/$release
    [[ -e $script ]] || script=/usr/share/debootstrap/scripts/sid
    debootstrap --variant=minbase "$release" "$root.new" "$mirror" "$script" >"$cache/$release.log" 2>&1 || {
        tail -20 "$cache/$release.log" >&2
        exit 1
    }
    # The mirror's testing may lie past its Release file's Valid-Until: its snapshot is
    # taken as it stands.
    printf 'Acquire::Check-Valid-Until "false";\n' >"$root.new/etc/apt/apt.conf.d/50zaryaj"
    date +%s >"$root.new/.zaryaj-made"
    mv "$root.new" "$root"
fi

name=$(basename "$tree")
say "copying $tree into $release's /src/$name"
mkdir -p "$root/src/$name"
find "$root/src/$name" -mindepth 1 -maxdepth 1 ! -name 'build*' -exec rm -rf {} +
git -C "$tree" ls-files -z --cached --others --exclude-standard |
    (cd "$tree" && xargs -0 -r sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh) |
    tar -C "$tree" --null -T - -c | tar -C "$root/src/$name" -x
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Made and copied: other runs may go on beside this one (apt waits for apt inside).
flock -u "$lock"
exec {lock}>&-

# Mounted in a namespace of its own: gone when the command ends, however it ends. /tmp is
# the machine's, so that X servers and buses started inside and outside see each other's
# display numbers and sockets, as programs side by side on one machine do.
say "running in $release: $*"
exec unshare --mount --propagation private -- bash -c '
    root=$1 dir=$2
    shift 2
    mount -t proc proc "$root/proc"
    mount --rbind /sys "$root/sys"
    mount --rbind /dev "$root/dev"
    mount --bind /tmp "$root/tmp"
    mkdir -p "$root/run/dbus" "$root/run/user"
    mount -t tmpfs tmpfs "$root/run"
    exec chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root TERM="${TERM:-dumb}" ZARYAJ_IN_ROOT="$(cat /etc/debian_version)" \
        bash -c "cd \"\$0\" && exec \"\$@\"" "$dir" "$@"
' bash "$root" "/src/$name" "$@"
