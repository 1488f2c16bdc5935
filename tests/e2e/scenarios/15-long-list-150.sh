# The long list of 14-long-list.sh with the prefix at 144 DPI (150 %): rows,
# thumb, wheel steps and the focus indicator all scale.
e2e_registry <<'REG'
[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000090
REG
E2E_SCALE=150
source "$ORVELLE_ROOT/tests/e2e/long-list.sh"
