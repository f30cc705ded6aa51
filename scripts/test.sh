#!/usr/bin/env bash
# The test command: installs what is missing, builds every configuration and runs every suite:
# native (ASan + UBSan), fuzzing, the static checks of the 32-bit stub, and the Windows suites
# under Wine. Ends with the line "N passed, N failed"; exits non-zero on any failure.
set -uo pipefail
nrv_root=$(cd "$(dirname "$0")/.." && pwd)
cd "$nrv_root"

bash scripts/install-deps.sh || { echo "installing dependencies failed"; exit 1; }

logs=build/logs
mkdir -p "$logs"
t0=$(date +%s)

build() {
    local preset=$1
    if ! { cmake --preset "$preset" >"$logs/configure-$preset.log" 2>&1 &&
           cmake --build --preset "$preset" >"$logs/build-$preset.log" 2>&1; }; then
        echo "build of $preset failed:"
        tail -40 "$logs/configure-$preset.log" "$logs/build-$preset.log"
        echo "0 passed, 1 failed"
        exit 1
    fi
    echo "built $preset"
}

for preset in native release fuzz win64 win32; do build "$preset"; done
t_built=$(date +%s)

passed=0
failed=0
suite() {
    local preset=$1; shift
    local log=$logs/ctest-$preset.log
    ctest --preset "$preset" "$@" >"$log" 2>&1
    local rc=$?
    local line
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    if [ -z "$line" ]; then
        if grep -q 'No tests were found' "$log"; then
            echo "suite $preset: no tests"
            return
        fi
        echo "suite $preset: ctest gave no summary (exit $rc)"
        tail -40 "$log"
        failed=$((failed + 1))
        return
    fi
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + t - f))
    failed=$((failed + f))
    echo "suite $preset: $((t - f)) passed, $f failed"
    if [ "$f" -ne 0 ] || [ $rc -ne 0 ]; then
        sed -n '/The following tests FAILED/,$p' "$log"
        [ "$f" -eq 0 ] && failed=$((failed + 1))
    fi
}

suite native -j2
suite fuzz
suite win32

source scripts/wine-env.sh
t_prefix0=$(date +%s)
wine_prepare_prefix
NRV_UNPRIVILEGED_PREFIX=$(wine_prepare_unprivileged_prefix)
export NRV_UNPRIVILEGED_PREFIX
t_prefix1=$(date +%s)
echo "wine prefix ready in $((t_prefix1 - t_prefix0)) s"
xvfb_start || { echo "0 passed, 1 failed"; exit 1; }
wine_up
# One at a time: the end-to-end tests look for the installer's top-level windows by caption.
suite win64 -j1
wine_down
xvfb_stop

t_end=$(date +%s)
echo "build $((t_built - t0)) s, tests $((t_end - t_built)) s, total $((t_end - t0)) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
