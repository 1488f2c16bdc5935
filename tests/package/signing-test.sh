#!/usr/bin/env bash
# The Windows packages signed, reproducible and versioned, without Wine:
#   - with a throwaway code-signing certificate made here by openssl (kept
#     under build/package-test/ only), scripts/package.sh signs the exe and the
#     MSI; both verify against that certificate, the exe as the zip and the MSI
#     carry it; SHA256SUMS matches the signed files; one flipped byte fails
#     verification;
#   - packaging the same staged folder twice gives the same MSI and zip, every
#     time stamp in them SOURCE_DATE_EPOCH; another version gets another
#     ProductCode and PackageCode, and so does other content (the signed exe);
#   - the File table carries the exe's version and language; the zip carries
#     README.txt.
# Leaves the signed packages in dist/ for tests/package/msi-test.sh, and the
# certificate as build/package-test/signer.pem (ORVELLE_TEST_SIGNER there).
set -euo pipefail
cd "$(dirname "$0")/../.."
work=build/package-test
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() {
    echo "signing-test: FAIL: $*" >&2
    failures=$((failures + 1))
}

version=$(/usr/bin/python3 scripts/package-tools.py pe-version dist/windows/OrvelleEx.exe)
name=OrvelleEx-$version-x64
IFS=. read -r major minor build revision <<<"$version"

# summary FIELD MSI: one field of the MSI's summary information.
summary() {
    TZ=UTC msiinfo suminfo "$2" | sed -n "s/^$1: //p"
}
property() {
    msiinfo export "$2" Property | awk -F'\t' -v p="$1" '$1 == p { print $2 }' | tr -d '\r'
}
# unpack ZIP DIR
unpack() {
    /usr/bin/python3 -m zipfile -e "$1" "$2"
}
verify() {
    osslsigncode verify -CAfile "$work/signer.pem" -in "$1" >"$work/verify.log" 2>&1
}

# Unsigned, twice from the same staged folder, at a fixed time.
epoch=1700000000
for run in 1 2; do
    SOURCE_DATE_EPOCH=$epoch bash scripts/package.sh --out "$work/plain-$run" >"$work/package.log"
done
grep -qx 'package: unsigned (no ORVELLE_SIGN_PKCS12 or ORVELLE_SIGN_PKCS11_URI)' "$work/package.log" ||
    fail "an unsigned build does not say so in one line"
for f in "$name.msi" "$name-portable.zip"; do
    cmp -s "$work/plain-1/$f" "$work/plain-2/$f" || fail "$f differs between two packagings of one folder"
done
plain_msi=$work/plain-1/$name.msi
stamp=$(TZ=UTC date -d "@$epoch" '+%a %b %e %H:%M:%S %Y')
for field in Created "Last saved"; do
    [ "$(summary "$field" "$plain_msi")" = "$stamp" ] ||
        fail "the MSI's $field is $(summary "$field" "$plain_msi"), expected $stamp"
done
/usr/bin/python3 - "$work/plain-1/$name-portable.zip" "$epoch" <<'PY' || fail "zip entries not at SOURCE_DATE_EPOCH in path order"
import sys, time, zipfile
names = [i.filename for i in zipfile.ZipFile(sys.argv[1]).infolist()]
stamps = {i.date_time for i in zipfile.ZipFile(sys.argv[1]).infolist()}
sys.exit(names != sorted(names) or stamps != {time.gmtime(int(sys.argv[2]))[:6]})
PY
row=$(msiinfo export "$plain_msi" File | awk -F'\t' '$1 == "OrvelleEx.exe" { print $5 "|" $6 }')
[ "$row" = "$version|1033" ] || fail "the exe's File row has version|language \"$row\", expected $version|1033"
readme=$(/usr/bin/python3 -c 'import sys, zipfile; print(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]).decode())' \
    "$work/plain-1/$name-portable.zip" "$name/README.txt")
grep -q 'only' <<<"$readme" && grep -q "$name.msi" <<<"$readme" ||
    fail "the zip's README.txt lacks the folder advice: $readme"

# Another version: another ProductCode and PackageCode.
other=$major.$minor.$build.$((revision + 1))
SOURCE_DATE_EPOCH=$epoch bash scripts/package.sh --version "$other" --out "$work/other" >/dev/null
other_msi=$work/other/OrvelleEx-$other-x64.msi
[ "$(property ProductCode "$other_msi")" != "$(property ProductCode "$plain_msi")" ] ||
    fail "$other and $version share a ProductCode"
[ "$(summary 'Revision number (UUID)' "$other_msi")" != "$(summary 'Revision number (UUID)' "$plain_msi")" ] ||
    fail "$other and $version share a PackageCode"

# A throwaway signer: self-signed, for code signing, never committed.
openssl rand -hex 16 >"$work/password"
openssl req -x509 -newkey rsa:3072 -nodes -keyout "$work/signer.key" -out "$work/signer.pem" -days 2 \
    -subj "/CN=OrvelleEx test signer" -addext "basicConstraints=critical,CA:FALSE" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
openssl pkcs12 -export -inkey "$work/signer.key" -in "$work/signer.pem" -out "$work/signer.p12" \
    -passout "file:$work/password"
rm "$work/signer.key"

SOURCE_DATE_EPOCH=$epoch ORVELLE_SIGN_PKCS12=$work/signer.p12 ORVELLE_SIGN_PASSWORD_FILE=$work/password \
    bash scripts/package.sh >"$work/package.log"
grep -q unsigned "$work/package.log" && fail "a signed build says it is unsigned"
(cd dist && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the signed packages"
unpack "dist/$name-portable.zip" "$work/zip"
msiextract -C "$work/msi" "dist/$name.msi" >/dev/null
msi_exe=$(find "$work/msi" -name OrvelleEx.exe)
cmp -s "$msi_exe" "$work/zip/$name/OrvelleEx.exe" || fail "the MSI and the zip carry different executables"
[ "$(summary 'Revision number (UUID)' "dist/$name.msi")" != "$(summary 'Revision number (UUID)' "$plain_msi")" ] ||
    fail "the signed and the unsigned MSI share a PackageCode"
for f in "$work/zip/$name/OrvelleEx.exe" "dist/$name.msi"; do
    if ! verify "$f"; then
        fail "$f does not verify against the test signer: $(tail -n 3 "$work/verify.log")"
        continue
    fi
    grep -q 'CN=OrvelleEx test signer' "$work/verify.log" || fail "$f is not signed by the test signer"
    # One byte in the middle of the file, inside what the signature covers.
    cp "$f" "$work/flipped"
    size=$(stat -c %s "$work/flipped")
    /usr/bin/python3 - "$work/flipped" $((size / 2)) <<'PY'
import sys
with open(sys.argv[1], "r+b") as f:
    f.seek(int(sys.argv[2])); b = f.read(1); f.seek(int(sys.argv[2])); f.write(bytes([b[0] ^ 0x01]))
PY
    verify "$work/flipped" && fail "$f with one byte flipped still verifies"
done

# A certificate named but missing: an error, not an unsigned package.
if ORVELLE_SIGN_PKCS12=$work/absent.p12 bash scripts/package.sh --out "$work/absent" 2>/dev/null; then
    fail "packaging with a missing certificate succeeded"
fi

if [ "$failures" -gt 0 ]; then
    echo "signing-test: $failures failed" >&2
    exit 1
fi
echo "signing-test: passed (signed exe and MSI verify, a flipped byte fails, same folder gives the same MSI and zip, exe version $version in the File table)"
