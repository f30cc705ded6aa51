#!/usr/bin/env bash
# The main job: builds the stub, the implode library and the authoring tool, makes the sample
# screen saver's installer with the tool, and runs that installer under Wine.
set -euo pipefail
nrv_root=$(cd "$(dirname "$0")/.." && pwd)
cd "$nrv_root"

bash scripts/install-deps.sh
logs=build/logs
mkdir -p "$logs"
for preset in release win64 win32; do
    cmake --preset "$preset" >"$logs/configure-$preset.log" 2>&1 &&
        cmake --build --preset "$preset" >"$logs/build-$preset.log" 2>&1 ||
        { echo "build of $preset failed"; tail -40 "$logs/build-$preset.log"; exit 1; }
done

stub=build/win64/app/installer_stub.exe
[ -f "$stub" ] || { echo "no stub was built"; exit 1; }

source scripts/wine-env.sh
wine_prepare_prefix
xvfb_start
trap 'wine_down; xvfb_stop' EXIT

echo "running the stub alone (no package appended) under Wine"
set +e
timeout 60 wine "$stub"
echo "exit code: $?"
