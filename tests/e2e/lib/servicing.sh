# The servicing store and the servicing API of a scenario's prefix (sourced by
# tests/e2e/lib.sh).
#
#   e2e_servicing_package NAME STATE [ASSEMBLY IDENTIFIER [PERMANENT [RELEASE_TYPE]]]
#       a package key under Component Based Servicing\Packages with its
#       CurrentState (hexadecimal, "70"); with ASSEMBLY (the name before the
#       first "~", "Package_for_RollupFix") and IDENTIFIER ("KB5031356") also
#       its manifest C:\windows\servicing\Packages\NAME.mum in the store's
#       shape; PERMANENT "permanent" marks the <package> so
#   e2e_servicing_manifest_text NAME TEXT   a manifest with exactly TEXT (malformed ones)
#   e2e_servicing_restart_pending   Windows waits for a restart (CBS RebootPending)
#   e2e_dism_standin                the prefix's dismapi.dll is e2e_dism.dll
#                                   (tools/e2e_dism.cpp, where its files are described)
#   e2e_dism_result HRESULT         what DismRemovePackage returns ("0x800F0825")
#   e2e_dism_step MS                milliseconds between its progress reports
#   e2e_dism_hold / e2e_dism_release   the removal stays at 40 % until released
#   e2e_dism_removed                the package names it was asked to remove, a line each
#   e2e_dism_calls                  every call it took, a line each

E2E_SERVICING_KEY='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Component Based Servicing'

e2e_servicing_manifests() {
    local folder=$E2E_PREFIX/drive_c/windows/servicing/Packages
    mkdir -p "$folder"
    echo "$folder"
}

e2e_servicing_package() {
    local name=$1 state=$2 assembly=${3:-} identifier=${4:-} permanent=${5:-} release=${6:-Update}
    local version=${name##*~} extra='' identity
    e2e_registry <<REG
[$E2E_SERVICING_KEY\\Packages\\$name]
"CurrentState"=dword:$(printf '%08x' "$((16#$state))")
REG
    [ -n "$assembly" ] || return 0
    [ "$permanent" = permanent ] && extra=' selfUpdate="true" permanence="permanent"'
    identity="version=\"$version\" language=\"neutral\" processorArchitecture=\"amd64\" publicKeyToken=\"31bf3856ad364e35\" buildType=\"release\""
    {
        printf '\xEF\xBB\xBF<?xml version="1.0" encoding="utf-8" standalone="yes"?>\r\n'
        printf '<assembly xmlns="urn:schemas-microsoft-com:asm.v3" manifestVersion="1.0" copyright="Copyright (c) Microsoft Corporation. All Rights Reserved.">\r\n'
        printf '  <assemblyIdentity name="%s" %s />\r\n' "$assembly" "$identity"
        printf '  <package identifier="%s" releaseType="%s" restart="possible"%s>\r\n' "$identifier" "$release" "$extra"
        printf '    <update name="1">\r\n      <package integrate="hidden">\r\n'
        printf '        <assemblyIdentity name="Package_1_for_%s" %s />\r\n' "$identifier" "$identity"
        printf '      </package>\r\n    </update>\r\n  </package>\r\n</assembly>\r\n'
    } >"$(e2e_servicing_manifests)/$name.mum"
}

e2e_servicing_manifest_text() {
    printf '%s' "$2" >"$(e2e_servicing_manifests)/$1.mum"
}

e2e_servicing_restart_pending() {
    e2e_registry <<REG
[$E2E_SERVICING_KEY\\RebootPending]
REG
}

e2e_dism_folder() {
    local folder=$E2E_PREFIX/drive_c/dism-standin
    mkdir -p "$folder"
    echo "$folder"
}

e2e_dism_standin() {
    cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/e2e/e2e_dism.dll" \
        "$E2E_PREFIX/drive_c/windows/system32/dismapi.dll"
    e2e_registry <<'REG'
[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"dismapi"="native"
REG
    e2e_dism_folder >/dev/null
}

e2e_dism_result() {
    echo "$1" >"$(e2e_dism_folder)/result.txt"
}

e2e_dism_step() {
    echo "$1" >"$(e2e_dism_folder)/step-ms.txt"
}

e2e_dism_hold() {
    : >"$(e2e_dism_folder)/hold.txt"
}

e2e_dism_release() {
    rm -f "$(e2e_dism_folder)/hold.txt"
}

e2e_dism_removed() {
    tr -d '\r' <"$(e2e_dism_folder)/removed.txt" 2>/dev/null || true
}

e2e_dism_calls() {
    tr -d '\r' <"$(e2e_dism_folder)/calls.txt" 2>/dev/null || true
}
