#!/usr/bin/env bash
# The main job: builds the stub, the implode library and the authoring tool, makes the sample
# screen saver's installer with the tool (the 32-bit one users get, and the 64-bit one this
# machine can run), checks it, and runs it under Wine through a launching program.
set -euo pipefail
nrv_root=$(cd "$(dirname "$0")/.." && pwd)
cd "$nrv_root"

bash scripts/install-deps.sh
logs=build/logs
mkdir -p "$logs"
run_logged() {
    local log=$1; shift
    "$@" >"$log" 2>&1 || { echo "failed: $*"; tail -40 "$log"; exit 1; }
}
# The host tool first: the sample targets of the Windows builds run it.
for preset in release win64 win32; do
    run_logged "$logs/configure-$preset.log" cmake --preset "$preset"
    run_logged "$logs/build-$preset.log" cmake --build --preset "$preset"
done
run_logged "$logs/sample-win32.log" cmake --build --preset win32 --target sample_installer_win32
run_logged "$logs/sample-win64.log" cmake --build --preset win64 --target sample_installer_win64

tool=build/release/tool/saverpack
release_installer=build/win32/sample/sample-installer.exe
test_installer=build/win64/sample/sample-installer.exe
echo "== the sample installer users get: $release_installer"
"$tool" inspect "$release_installer"
"$tool" verify "$release_installer"

echo
echo "== running the x86_64 build of the same installer under Wine, quietly, under a launcher"
source scripts/wine-env.sh
wine_prepare_prefix
xvfb_start
trap 'wine_down; xvfb_stop' EXIT
record=$NRV_WINE_DIR/launcher-record.txt
rm -f "$record"
set +e
timeout 120 wine build/win64/tests/fixtures/launcher_fixture.exe "Z:$record" \
    "Z:$nrv_root/$test_installer" /q
status=$?
set -e
# The launcher's record: each notice's bytes as text, the close message and the exit code.
python3 - "$record" <<'PY'
import sys
for line in open(sys.argv[1]):
    fields = dict(f.split("=", 1) for f in line.split()[1:] if "=" in f)
    if line.startswith("copydata"):
        text = bytes.fromhex(fields["bytes"]).decode("latin-1").replace("\0", "\\0")
        print(f"notice: {text!r} (cbData {fields['cbData']})")
    else:
        print(line.strip())
PY
echo "installer run ended with status $status"
[ "$status" -eq 0 ]
