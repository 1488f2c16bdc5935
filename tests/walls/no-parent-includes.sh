#!/usr/bin/env bash
# No include climbs out of a folder with "..": the layers' include roots are
# walls only while every include names a layer's folder from its root. Prints
# each offending include as file:line and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/../.."
found=$(grep -rnE --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.rc' \
    --include='*.in' \
    '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^">]*[/\\])?\.\.([/\\][^">]*)?[">]' \
    app hotfix ui platform bench cmake tests || true)
if [ -n "$found" ]; then
    echo "includes that reach out of their folder with \"..\" (name the layer's folder instead):"
    echo "$found"
    exit 1
fi
