#!/usr/bin/env bash
# Builds the Windows packages from the staged folder dist/windows/ (staged by
# `cmake --build --preset windows`):
#   dist/OrvelleEx-<version>-x64.msi           the Windows Installer package (packaging/OrvelleEx.wxs)
#   dist/OrvelleEx-<version>-x64-portable.zip  the same files in one folder, to run without installing
#   dist/SHA256SUMS                            the SHA-256 checksums of both
# The version is the executable's: CMake writes it from project() into the
# build's generated OrvelleExVersion.h, which the version resource includes.
# For tests: --version V packages the same files under another version, --out
# DIR writes the packages to DIR.
set -euo pipefail

out=dist
version=
while [ $# -gt 0 ]; do
    case $1 in
        --version) version=$2; shift 2 ;;
        --out) out=$(realpath -m "$2"); shift 2 ;;
        *) echo "usage: package.sh [--version MAJOR.MINOR.BUILD.REVISION] [--out DIR]" >&2; exit 2 ;;
    esac
done
# wixl finds the sources by paths relative to the project folder.
cd "$(dirname "$0")/.."
build_dir=${ORVELLE_WINDOWS_BUILD_DIR:-build/windows}
staged=dist/windows

if [ ! -f "$staged/OrvelleEx.exe" ]; then
    echo "package: $staged/OrvelleEx.exe is missing; build it with: cmake --build --preset windows" >&2
    exit 1
fi
if [ -z "$version" ]; then
    header=$build_dir/generated/OrvelleExVersion.h
    version=$(sed -n 's/^#define ORVELLE_VERSION_TEXT "\(.*\)"$/\1/p' "$header" 2>/dev/null || true)
    if [ -z "$version" ]; then
        echo "package: no version in $header; configure with: cmake --preset windows" >&2
        exit 1
    fi
fi
# Windows Installer's limits (255.255.65535.65535); the build stays below 65535
# so that the next one, where the upgrade ranges meet, exists.
IFS=. read -r major minor build revision extra <<<"$version"
if ! [[ $major =~ ^[0-9]+$ && $minor =~ ^[0-9]+$ && $build =~ ^[0-9]+$ && $revision =~ ^[0-9]*$ ]] ||
    [ -n "$extra" ] || [ "$major" -gt 255 ] || [ "$minor" -gt 255 ] || [ "$build" -ge 65535 ] ||
    [ "${revision:-0}" -gt 65535 ]; then
    echo "package: \"$version\" is not a version Windows Installer can compare" >&2
    exit 1
fi

work=build/package/$version
name=OrvelleEx-$version-x64
rm -rf "$work"
mkdir -p "$work" "$out"

bash scripts/wix-files.sh "$staged" >"$work/StagedFiles.wxs"
wixl --arch x64 -D Version="$version" -D NextBuild="$major.$minor.$((build + 1))" \
    -D StagedDir="$staged" -o "$work/$name.msi" packaging/OrvelleEx.wxs "$work/StagedFiles.wxs"
mv "$work/$name.msi" "$out/"

mkdir -p "$work/portable"
cp -r "$staged" "$work/portable/$name"
(cd "$work/portable" && cmake -E tar cf "../$name-portable.zip" --format=zip "$name")
mv "$work/$name-portable.zip" "$out/"

(cd "$out" && sha256sum "$name.msi" "$name-portable.zip" >SHA256SUMS)
rm -rf "$work"
echo "package: $out/$name.msi, $out/$name-portable.zip, $out/SHA256SUMS"
