#!/usr/bin/env bash
# Makes the sample screen saver's installer: stages the sample's sources and generated files in
# one folder and packs them with the authoring tool.
# Usage: build-sample.sh SAVERPACK STUB IMPBORL_DLL ENGINE_SCR STAGE_FOLDER OUTPUT
set -euo pipefail
[ $# -eq 6 ] || { echo "usage: build-sample.sh SAVERPACK STUB IMPBORL_DLL ENGINE_SCR STAGE OUTPUT" >&2; exit 2; }
saverpack=$1 stub=$2 impborl=$3 engine=$4 stage=$5 output=$6
here=$(cd "$(dirname "$0")" && pwd)

[ -x "$saverpack" ] || {
    echo "build-sample.sh: no host authoring tool at $saverpack (build the release preset first)" >&2
    exit 1
}
rm -rf "$stage"
mkdir -p "$stage"
cp -r "$here/data" "$here/sample.toml" "$here/licence.rtf" "$here/readme.txt" \
      "$here/notes.txt" "$here/credits.txt" "$stage/"
cp "$impborl" "$stage/impborl.dll"
cp "$engine" "$stage/sample.scr"
bash "$here/make_assets.sh" "$stage"
"$saverpack" build "$stage/sample.toml" -o "$output" --stub "$stub"
"$saverpack" verify "$output"
