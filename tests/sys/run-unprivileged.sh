#!/usr/bin/env bash
# Runs a test program as the unprivileged user 65534 in its own Wine prefix. As root, Wine lets
# through writes that Windows refuses (a read-only target, a folder of another user); as an
# ordinary user it refuses them as Windows does.
#   NRV_UNPRIVILEGED_PREFIX=<prefix owned by 65534> run-unprivileged.sh <program.exe>
# The prefix comes from wine_prepare_unprivileged_prefix in scripts/wine-env.sh.
set -u
program=$1
as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)

if [ -z "${NRV_UNPRIVILEGED_PREFIX:-}" ]; then
    echo "NRV_UNPRIVILEGED_PREFIX is not set: export the prefix that" \
         "wine_prepare_unprivileged_prefix (scripts/wine-env.sh) prints before running this test" >&2
    exit 1
fi
if [ ! -d "$NRV_UNPRIVILEGED_PREFIX/drive_c" ]; then
    echo "NRV_UNPRIVILEGED_PREFIX=$NRV_UNPRIVILEGED_PREFIX is not a Wine prefix" >&2
    exit 1
fi
if ! "${as_nobody[@]}" test -r "$program"; then
    echo "$program cannot be read by uid 65534: every folder above it must be searchable" \
         "and the file readable by others" >&2
    exit 1
fi
home=$(dirname "$NRV_UNPRIVILEGED_PREFIX")/home

# Wine records the name of its server folder in the prefix's file "wineserver". A prefix
# copied from one booted by root names root's private folder, which the unprivileged user
# cannot enter ("chdir ... Permission denied"): forget it, and Wine makes one of its own.
server_dir=$(cat "$NRV_UNPRIVILEGED_PREFIX/wineserver" 2>/dev/null)
if [ -n "$server_dir" ] && [ "$(stat -c %u "${TMPDIR:-/tmp}/$server_dir" 2>/dev/null)" != 65534 ]; then
    rm -f "$NRV_UNPRIVILEGED_PREFIX/wineserver"
fi

# A folder and a file of root's, which the unprivileged user may read but not change.
protected=$(mktemp -d /tmp/nrv-sys-protected.XXXXXX)
chmod 755 "$protected"
echo keep >"$protected/protected.txt"
chmod 644 "$protected/protected.txt"

# The output goes to a file: Wine's helper services outlive the program and would hold a pipe.
log=$(mktemp /tmp/nrv-sys-unprivileged.XXXXXX)
run_as_nobody() {
    (cd / && "${as_nobody[@]}" env -i HOME="$home" WINEPREFIX="$NRV_UNPRIVILEGED_PREFIX" \
        WINEDEBUG=-all DISPLAY="${DISPLAY:-}" PATH=/usr/bin:/bin \
        NRV_PROTECTED_FOLDER="Z:${protected//\//\\}\\" "$@")
}
run_as_nobody wine "$program" >"$log" 2>&1
rc=$?
run_as_nobody wineserver -k >/dev/null 2>&1
run_as_nobody wineserver -w >/dev/null 2>&1
cat "$log"
if [ "$(cat "$protected/protected.txt" 2>/dev/null)" != keep ]; then
    echo "the protected file was changed: the program did not run unprivileged" >&2
    rc=1
fi
rm -rf "$protected" "$log"
exit $rc
