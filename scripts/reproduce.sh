#!/usr/bin/env bash
# Checks that the checked-out commit builds the same Windows packages twice:
# two fresh copies of the commit in two folders of different names, each built
# from nothing (no compiler cache) with the Windows preset and packaged by
# scripts/package.sh, unsigned. Prints the SHA-256 of the exe, the MSI and the
# zip of each build; when they differ, diffoscope's report of each pair that
# differs, and exits 1. Long: two full Windows builds. Usage:
#   bash scripts/reproduce.sh [WORK_DIR]     (default build/reproduce)
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(realpath -m "${1:-build/reproduce}")
commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "reproduce: uncommitted changes are left out; building $commit as committed" >&2
fi
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
version=$(sed -n 's/^project(OrvelleEx VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
name=OrvelleEx-$version-x64
trees=("$work/first" "$work/second-build")
jobs=${ORVELLE_REPRODUCE_JOBS:-2}

rm -rf "$work"
for tree in "${trees[@]}"; do
    mkdir -p "$tree"
    git archive "$commit" | tar -x -C "$tree"
    echo "reproduce: building $commit in $tree"
    (
        cd "$tree"
        export CCACHE_DISABLE=1
        unset ORVELLE_SIGN_PKCS12 ORVELLE_SIGN_PKCS11_URI ORVELLE_SIGN_PASSWORD_FILE ORVELLE_SIGN_TIMESTAMP_URL
        cmake --preset windows -DORVELLE_BUILD_TESTS=OFF >build.log 2>&1 &&
            cmake --build --preset windows -j "$jobs" >>build.log 2>&1 &&
            bash scripts/package.sh >>build.log 2>&1
    ) || {
        echo "reproduce: the build in $tree failed; its log:" >&2
        tail -n 40 "$tree/build.log" >&2
        exit 1
    }
done

files=(dist/windows/OrvelleEx.exe "dist/$name.msi" "dist/$name-portable.zip")
different=()
for tree in "${trees[@]}"; do
    echo "== $tree"
    (cd "$tree" && sha256sum "${files[@]}")
done
for f in "${files[@]}"; do
    cmp -s "${trees[0]}/$f" "${trees[1]}/$f" || different+=("$f")
done
if [ "${#different[@]}" -eq 0 ]; then
    echo "reproduce: identical: ${files[*]##*/}"
    exit 0
fi
for f in "${different[@]}"; do
    echo "reproduce: $f differs; diffoscope:"
    diffoscope --text - "${trees[0]}/$f" "${trees[1]}/$f" || true
done
exit 1
