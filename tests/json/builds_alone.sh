#!/usr/bin/env bash
# The JSON library on its own: no file in json/ includes one of ours from
# outside it, and json/ configures and builds as a project of its own.
# builds_alone.sh JSON_FOLDER SCRATCH CMAKE CXX
set -euo pipefail
src=$1 out=$2 cmake=$3 cxx=$4

outside=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$src" --include='*.h' --include='*.cpp' |
  grep -vE '#[[:space:]]*include[[:space:]]*"json/' || true)
if [[ -n $outside ]]; then
  echo "json/ includes files from outside it:" >&2
  echo "$outside" >&2
  exit 1
fi

rm -rf "$out"
"$cmake" -S "$src" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=Release >/dev/null
"$cmake" --build "$out" -j 2 >/dev/null
test -f "$out/libvw_json.a"
echo "json/ built alone: $(ls "$out"/libvw_json.a)"
