# Shared pieces of scripts/setup-root and scripts/in-root: where the Debian 13 root of the Wine
# sessions lives and how complete it is. Sourced, not run.
# shellcheck shell=bash disable=SC2034  # the names are for the scripts that source this

QUON_ROOTFS=${QUON_ROOTFS:-/opt/quon/trixie}
# Bump when what scripts/setup-root puts in the root changes: an older root is built anew.
QUON_ROOT_VERSION=2
QUON_ROOT_STAMP=.quon-root
# Inside the root.
QUON_QEMU=/usr/local/lib/quon/qemu-i386

quon_root_complete() {
    [[ "$(cat "$QUON_ROOTFS/$QUON_ROOT_STAMP" 2>/dev/null)" == "$QUON_ROOT_VERSION" ]]
}
