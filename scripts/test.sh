#!/usr/bin/env bash
# Builds both configurations and runs every suite: native (headless backend),
# then each in one process shuffled and repeated, the native suites under the
# sanitizers, short fuzz runs, the PE hardening check, Windows unit tests under
# Wine, and the end-to-end scenarios under Wine + Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== native build and tests"
cmake --preset linux >/dev/null
cmake --build --preset linux
ctest --test-dir build/linux --output-on-failure -j2

echo "== native suites again, each in one process, shuffled and repeated"
bash scripts/repeat-suites.sh build/linux 3

echo "== native suites under AddressSanitizer + UBSan and ThreadSanitizer"
bash scripts/sanitize.sh address thread

echo "== fuzz targets: kept regressions, then ${ORVELLE_FUZZ_SECONDS:-20} s each"
bash scripts/fuzz.sh "${ORVELLE_FUZZ_SECONDS:-20}"

echo "== Windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows

echo "== hardening of the elevated executable"
bash tests/hardening/pe-header-test.sh dist/windows/OrvelleEx.exe

echo "== Windows tests under Wine"
bash scripts/wine-tests.sh

echo "== Windows packages: signed with a throwaway certificate, reproducible, versioned"
bash tests/package/signing-test.sh

echo "== the signed MSI installed, started, upgraded and removed under Wine"
ORVELLE_TEST_SIGNER=build/package-test/signer.pem bash tests/package/msi-test.sh
