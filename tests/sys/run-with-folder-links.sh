#!/usr/bin/env bash
# Runs a test program against folder links made on the Linux side: Wine reports a Unix
# symbolic link to a folder of the prefix as a folder with the reparse-point attribute, but
# cannot make one from a Windows program. The program finds the links in NRV_LINK_FOLDER.
#   run-with-folder-links.sh <program.exe>
set -u
program=$1
if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "WINEPREFIX is not set to a Wine prefix: source scripts/wine-env.sh first" >&2
    exit 1
fi

root=$WINEPREFIX/drive_c/nrv_sys_links
rm -rf "$root"
mkdir -p "$root/target/sub" "$root/tree"
echo keep >"$root/target/keep.txt"
echo deep >"$root/target/sub/deep.txt"
echo own >"$root/tree/own.txt"
# One link inside a tree that is removed, and one planted where the tree itself is expected.
ln -s ../target "$root/tree/link"
ln -s target "$root/planted"

NRV_LINK_FOLDER='C:\nrv_sys_links\' wine "$program"
rc=$?
rm -rf "$root"
exit $rc
