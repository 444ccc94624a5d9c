#!/usr/bin/env bash
# Runs the two commands a new user runs (scripts/demo.sh, then scripts/test.sh) on a minimal
# Debian 13, whose SDL 1.2 is sdl12-compat over SDL 2, and then the demo on native Wayland under a
# headless Weston: its transcript against the one under X, its picture read back by the picture
# test, and its end. The system is made with debootstrap in a folder, or reused from an earlier
# run; the committed checkout is cloned into it afresh. Prints each step's exit status and time.
# Needs root (debootstrap, chroot, mount --bind). Exit status: 0 when every step passed.
# Usage: scripts/debian13.sh [DIR]   (DIR: the system's folder, build-debian13/ by default)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/setup-packages.sh

system=$(realpath -m "${1:-build-debian13}")
checkout=$PWD
# The archive this machine installs from, where it names one.
mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null |
    head -n 1)
mirror=${mirror:-http://deb.debian.org/debian}

mounts=()
cleanup() {
    local i
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount -l "${mounts[i]}" || true
    done
}
trap cleanup EXIT

in_system() {
    chroot "$system" /usr/bin/env -i HOME=/root TERM=dumb PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c "$1"
}

failed=0
# Runs a step, then prints its status and time; a failed step fails the run but not the rest.
step() {
    local name=$1 start status
    start=$(date +%s)
    set +e
    in_system "$2"
    status=$?
    set -e
    echo "== $name: exit $status after $(($(date +%s) - start)) s"
    if [ "$status" -ne 0 ]; then
        failed=1
    fi
}

# A system whose debootstrap did not finish is made again.
if [ ! -f "$system/etc/orvane-system" ]; then
    orvane_install_packages debootstrap
    rm -rf "$system"
    start=$(date +%s)
    debootstrap --variant=minbase trixie "$system" "$mirror" >/dev/null
    touch "$system/etc/orvane-system"
    echo "== debootstrap trixie: $(($(date +%s) - start)) s"
fi
cp /etc/resolv.conf "$system/etc/resolv.conf"
for dir in proc sys dev dev/pts; do
    mount --bind "/$dir" "$system/$dir"
    mounts+=("$system/$dir")
done

step "git" "command -v git >/dev/null || { apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq git ca-certificates >/dev/null; }"
rm -rf "$system/root/orvane"
git clone --quiet "$checkout" "$system/root/orvane"

step "scripts/demo.sh" "cd /root/orvane && scripts/demo.sh"
step "scripts/test.sh" "cd /root/orvane && scripts/test.sh"
step "wayland" "cd /root/orvane && scripts/wayland-check.sh"
exit $failed
