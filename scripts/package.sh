#!/usr/bin/env bash
# Builds the Windows packages from the staged folder dist/windows/ (staged by
# `cmake --build --preset windows`):
#   dist/OrvelleEx-<version>-x64.msi           the Windows Installer package (packaging/OrvelleEx.wxs)
#   dist/OrvelleEx-<version>-x64-portable.zip  the same files in one folder, with a README.txt,
#                                              to run without installing
#   dist/SHA256SUMS                            the SHA-256 checksums of both, written last
# The version is the executable's: CMake writes it from project() into the
# build's generated OrvelleExVersion.h, which the version resource includes.
#
# Signing (Authenticode, SHA-256, with osslsigncode), when a certificate is named:
#   ORVELLE_SIGN_PKCS12          a PKCS#12 file (.pfx/.p12) holding the key and its certificates, or
#   ORVELLE_SIGN_PKCS11_URI      a PKCS#11 URI of a key on a token (pkcs11:...), with
#   ORVELLE_SIGN_PKCS11_MODULE   the token's PKCS#11 module and
#   ORVELLE_SIGN_CERTS           the certificate chain of that key (PEM);
#   ORVELLE_SIGN_PASSWORD_FILE   the PKCS#12 password or the token PIN, in a file;
#   ORVELLE_SIGN_TIMESTAMP_URL   an RFC 3161 time-stamp server (the signature then outlives the certificate).
# Every PE file is signed before the MSI is built from it, then the MSI; the
# checksums cover the signed files. Without a certificate the packages are unsigned.
#
# Reproducible: the same staged folder and version give the same bytes. Every
# time stamp is SOURCE_DATE_EPOCH (default: the time of the checked-out
# commit), files go in path order with fixed modes, the PackageCode is derived
# from what goes into the MSI and the ProductCode from the version.
#
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
tools=(/usr/bin/python3 scripts/package-tools.py)

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
revision=$((10#${revision:-0}))

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if ! SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) || [ -z "$SOURCE_DATE_EPOCH" ]; then
        echo "package: not a git checkout; set SOURCE_DATE_EPOCH to the release's time (seconds since 1970)" >&2
        exit 1
    fi
fi
export SOURCE_DATE_EPOCH
# wixl and msibuild write the time of day into the MSI's summary information.
at_epoch=(env TZ=UTC faketime -f "$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')")

sign_args=()
if [ -n "${ORVELLE_SIGN_PKCS12:-}" ]; then
    [ -f "$ORVELLE_SIGN_PKCS12" ] || { echo "package: $ORVELLE_SIGN_PKCS12 is missing" >&2; exit 1; }
    sign_args=(-pkcs12 "$ORVELLE_SIGN_PKCS12")
elif [ -n "${ORVELLE_SIGN_PKCS11_URI:-}" ]; then
    if [ -z "${ORVELLE_SIGN_PKCS11_MODULE:-}" ] || [ -z "${ORVELLE_SIGN_CERTS:-}" ]; then
        echo "package: a PKCS#11 key needs ORVELLE_SIGN_PKCS11_MODULE and ORVELLE_SIGN_CERTS" >&2
        exit 1
    fi
    sign_args=(-pkcs11module "$ORVELLE_SIGN_PKCS11_MODULE" -certs "$ORVELLE_SIGN_CERTS"
        -key "$ORVELLE_SIGN_PKCS11_URI")
elif [ -n "${ORVELLE_SIGN_PASSWORD_FILE:-}${ORVELLE_SIGN_TIMESTAMP_URL:-}" ]; then
    echo "package: a password file or time-stamp server without a certificate" \
        "(ORVELLE_SIGN_PKCS12 or ORVELLE_SIGN_PKCS11_URI)" >&2
    exit 1
fi
if [ "${#sign_args[@]}" -gt 0 ]; then
    if [ -n "${ORVELLE_SIGN_PASSWORD_FILE:-}" ]; then
        sign_args+=(-readpass "$ORVELLE_SIGN_PASSWORD_FILE")
    fi
    if [ -n "${ORVELLE_SIGN_TIMESTAMP_URL:-}" ]; then
        sign_args+=(-ts "$ORVELLE_SIGN_TIMESTAMP_URL")
    fi
    # The description is the name the elevation prompt shows for the MSI.
    sign_args+=(-h sha256 -n OrvelleEx)
fi

work=build/package/$version
name=OrvelleEx-$version-x64
rm -rf "$work"
mkdir -p "$work" "$out"

# sign FILE: signs FILE in place.
sign() {
    if ! osslsigncode sign "${sign_args[@]}" -in "$1" -out "$1.signed" >"$work/sign.log" 2>&1; then
        echo "package: signing $1 failed:" >&2
        cat "$work/sign.log" >&2
        exit 1
    fi
    mv "$1.signed" "$1"
}

# The files as they ship: fixed modes, the commit's time, the PE files signed.
stage=$work/$name
cp -r "$staged" "$stage"
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -exec chmod 644 {} +
mapfile -t pe_files < <("${tools[@]}" pe-files "$stage")
for f in "${pe_files[@]}"; do
    [ "${#sign_args[@]}" -eq 0 ] || sign "$stage/$f"
    chmod 755 "$stage/$f"
done
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

# ProductCode: one per version, as a major upgrade (the Upgrade table) needs.
# PackageCode: one per distinct package, from everything that goes into it.
upgrade_code=$(sed -n 's/^<?define UpgradeCode = "\(.*\)"?>$/\1/p' packaging/OrvelleEx.wxs)
product_code=$("${tools[@]}" guid "$upgrade_code" "ProductCode $version")
revision_component=$("${tools[@]}" guid "$upgrade_code" "InstalledRevision $major.$minor.$build" | tr -d '{}')
"${tools[@]}" wix-files "$stage" >"$work/StagedFiles.wxs"
package_code=$("${tools[@]}" guid "$upgrade_code" "PackageCode $version $(
    {
        "${tools[@]}" digest "$stage"
        sha256sum packaging/OrvelleEx.wxs "$work/StagedFiles.wxs" app/resources/OrvelleEx.ico |
            cut -d' ' -f1
        wixl --version
    } | sha256sum | cut -d' ' -f1)")

"${at_epoch[@]}" wixl --arch x64 -D Version="$version" -D NextBuild="$major.$minor.$((build + 1))" \
    -D Build="$major.$minor.$build" -D Revision="$revision" \
    -D ProductCode="$product_code" -D RevisionComponent="$revision_component" \
    -D StagedDir="$stage" -o "$work/$name.msi" packaging/OrvelleEx.wxs "$work/StagedFiles.wxs"
# wixl leaves the File table's Version and Language empty, which makes every
# file unversioned to Windows Installer: a PE file carries its own (English
# resources). wixl also draws a random PackageCode; msibuild sets it again,
# with the summary information wixl wrote.
edits=()
for f in "${pe_files[@]}"; do
    base=${f##*/}
    rows=$(msiinfo export "$work/$name.msi" File | awk -F'\t' -v n="$base" 'NR > 3 && $3 == n' | wc -l)
    if [ "$rows" != 1 ]; then
        echo "package: $rows rows of the File table are named $base; the version goes to one" >&2
        exit 1
    fi
    edits+=(-q "UPDATE \`File\` SET \`Version\` = '$("${tools[@]}" pe-version "$stage/$f")', \`Language\` = '1033' WHERE \`FileName\` = '$base'")
done
# Removal takes the key that records the revision ("-": the key and all
# beneath it, when its component goes), which wixl cannot author.
edits+=(-q "INSERT INTO \`Registry\` (\`Registry\`, \`Root\`, \`Key\`, \`Name\`, \`Component_\`) VALUES ('RemoveRevisionKey', 2, 'Software\\Orvelle\\OrvelleEx', '-', 'InstalledRevision')")
"${at_epoch[@]}" msibuild "$work/$name.msi" "${edits[@]}" -s "OrvelleEx $version" Orvelle "x64;1033" "$package_code"
[ "${#sign_args[@]}" -eq 0 ] || sign "$work/$name.msi"

# The portable folder: the same files and a README.txt on where to keep them.
sed "s/@VERSION@/$version/g; s/\$/\r/" packaging/portable-README.txt >"$stage/README.txt"
touch -d "@$SOURCE_DATE_EPOCH" "$stage/README.txt"
"${tools[@]}" zip "$work/$name-portable.zip" "$stage" "$name" "$SOURCE_DATE_EPOCH"

mv "$work/$name.msi" "$work/$name-portable.zip" "$out/"
(cd "$out" && sha256sum "$name.msi" "$name-portable.zip" >SHA256SUMS)
rm -rf "$work"
if [ "${#sign_args[@]}" -eq 0 ]; then
    echo "package: unsigned (no ORVELLE_SIGN_PKCS12 or ORVELLE_SIGN_PKCS11_URI)"
fi
echo "package: $out/$name.msi, $out/$name-portable.zip, $out/SHA256SUMS"
