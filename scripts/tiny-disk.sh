#!/usr/bin/env bash
# A 64 KB file system for the full-disk test: mounts a small tmpfs on a folder, or unmounts it.
# The state goes to <folder>.status: "mounted", or why it could not be (not root, mount
# refused), which the test reports as its reason to skip.
#   tiny-disk.sh mount|unmount <folder>
set -euo pipefail
action=${1:?usage: tiny-disk.sh mount|unmount <folder>}
folder=${2:?folder}
status="$folder.status"

unmount() {
    if mountpoint -q "$folder" 2>/dev/null; then
        umount "$folder" 2>/dev/null || umount -l "$folder"
    fi
}

case $action in
mount)
    mkdir -p "$folder"
    unmount
    if [[ $(id -u) -ne 0 ]]; then
        echo "not root: mounting a tmpfs needs root" >"$status"
        exit 0
    fi
    if ! error=$(mount -t tmpfs -o size=64k,mode=1777 tmpfs "$folder" 2>&1); then
        echo "mount -t tmpfs failed: $error" >"$status"
        exit 0
    fi
    echo mounted >"$status"
    ;;
unmount)
    rm -f "$status"
    unmount
    ;;
*)
    echo "usage: tiny-disk.sh mount|unmount <folder>" >&2
    exit 2
    ;;
esac
