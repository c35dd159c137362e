#!/usr/bin/env bash
# `make test-debian13`: `CI=true make test` on a clean clone of this checkout's HEAD inside a minimal Debian 13
# (trixie) tree, as on a new user's fresh machine. The tree is made once with debootstrap under build-debian13/,
# holding only git, make, ca-certificates and sudo to start with, and kept for later runs, which clone the
# checkout anew. Committed work only: changes not yet committed are not in the clone.
#   scripts/test-debian13.sh [MAKE ARGUMENT...]      (default: test)
# Everything that mounts runs in a mount namespace of its own, so no mount outlives the run or shows outside
# it, and in a PID namespace of its own, so no process started in the tree outlives it either.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env=DEBIAN13_MIRROR "$0" "$@"
fi
checkout=$(cd "$(dirname "$0")/.." && pwd)
work=$checkout/build-debian13
tree=$work/trixie
mirror=${DEBIAN13_MIRROR:-http://deb.debian.org/debian}
clone=/root/tarvelle
[ $# -gt 0 ] || set -- test
case $checkout in
*[[:space:]]*)
    echo "test-debian13: the checkout's path must not hold blanks: $checkout" >&2
    exit 2
    ;;
esac

# The mount points under the tree that this mount namespace sees, deepest first.
mounts_under_tree() {
    awk -v tree="$tree/" 'index($5 "/", tree) == 1 { print $5 }' /proc/self/mountinfo | sort -r
}
# rm -rf on a tree with /dev or /proc mounted in it would empty the host's: refuse while anything is mounted.
remove_tree() {
    if [ -n "$(mounts_under_tree)" ]; then
        echo "test-debian13: not removing $tree, something is mounted under it:" >&2
        mounts_under_tree >&2
        exit 1
    fi
    rm -rf "$tree"
}

mkdir -p "$work"
exec 9>"$work/lock"
flock -n 9 || {
    echo "test-debian13: another run holds $work/lock" >&2
    exit 1
}

if ! command -v debootstrap >/dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi
# debootstrap removes its own folder debootstrap/ from the tree when it has finished.
if [ -d "$tree/debootstrap" ] || [ ! -x "$tree/usr/bin/make" ]; then
    [ ! -e "$tree" ] || echo "test-debian13: $tree is unfinished; making it again"
    remove_tree
    echo "test-debian13: debootstrap trixie into $tree"
    unshare --mount --propagation private -- debootstrap --variant=minbase \
        --include=git,make,ca-certificates,sudo trixie "$tree" "$mirror"
fi
cp /etc/resolv.conf "$tree/etc/resolv.conf"
# As in any chroot: packages installed by the tests' set-up start no services.
printf '#!/bin/sh\nexit 101\n' >"$tree/usr/sbin/policy-rc.d"
chmod 755 "$tree/usr/sbin/policy-rc.d"

rm -rf "${tree:?}$clone"
# The checkout may belong to the user who called sudo.
git -c safe.directory="$checkout" clone --quiet --no-hardlinks "$checkout" "$tree$clone"
echo "test-debian13: $(git -C "$tree$clone" log -1 --format='%h %s') in $tree$clone"
[ -z "$(git -c safe.directory="$checkout" -C "$checkout" status --porcelain --untracked-files=no)" ] ||
    echo "test-debian13: the checkout has uncommitted changes; they are not tested"

# Inside the namespaces: the kernel's file systems mounted into the tree, and the tree made the root of the mount
# namespace (pivot_root, not a chroot inside it), so that a test which enters a mount namespace of its own and
# returns with setns() returns into the tree. The host's file systems are then detached, make runs, and (also when
# make fails or the run is interrupted) everything is unmounted again.
# shellcheck disable=SC2016
inside='
set -eu
tree=$1
shift
mount --bind "$tree" "$tree"
mount -t proc proc "$tree/proc"
mount --rbind /sys "$tree/sys"
mount --rbind /dev "$tree/dev"
cd "$tree"
pivot_root . mnt
exec chroot . /bin/sh -c "$0" sh "$@"
'
# shellcheck disable=SC2016
in_tree='
set -eu
clone=$1
shift
umount --lazy /mnt
unmount() {
    for m in /dev /sys /proc; do
        umount --recursive "$m" 2>/dev/null || umount --recursive --lazy "$m"
    done
}
trap unmount EXIT
trap "exit 130" INT
trap "exit 143" TERM
cd /
env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    TERM="${TERM:-dumb}" CI=true make -C "$clone" "$@"
'
status=0
unshare --mount --propagation private --pid --fork -- sh -c "$inside" "$in_tree" "$tree" "$clone" "$@" || status=$?
if [ -n "$(mounts_under_tree)" ]; then
    echo "test-debian13: still mounted under $tree:" >&2
    mounts_under_tree >&2
    status=1
fi
if [ $status -eq 0 ]; then
    echo "test-debian13: make $* passed on Debian $(cat "$tree/etc/debian_version")"
else
    echo "test-debian13: make $* failed on Debian $(cat "$tree/etc/debian_version") (exit $status)" >&2
fi
exit $status
