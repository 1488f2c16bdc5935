// The raw outcomes of a removal (the installer's exit code, the servicing
// API's result) and what each one means for the row: its status and the reason
// line shown beside it. One table (UninstallCodes.cpp) owns the mapping; a code
// it does not hold takes its named fallback, a failure that shows the code.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hotfix/UninstallStatus.h"

namespace WindowsHotfix {

// WU_S_ALREADY_UNINSTALLED: see UninstallCodes.cpp.
constexpr uint32_t kAlreadyUninstalledCode = 0x00240007;

// Who answered: a code means different things from the two.
enum class RemovalSource { Installer, ServicingApi };

// Why an outcome came, in words: a language key, its text's "{0}" the code in
// eight hexadecimal digits. No key: the outcome says it all.
struct UninstallReason {
    const wchar_t* key = nullptr;
    uint32_t code = 0;
    bool restartFirst = false;  // a pending restart blocks the removal: the window offers one
};

struct RemovalOutcome {
    UninstallStatus status = UNINSTALL_FAIL;
    UninstallReason reason;
};

// Asked only for a code whose meaning depends on it (WU_E_INSTALL_NOT_ALLOWED).
using RestartPendingCheck = std::function<bool()>;

RemovalOutcome OutcomeOfCode(int code, RemovalSource source,
                             const RestartPendingCheck& restartPending);
// The installer's code with no restart pending: its status alone.
UninstallStatus MapUninstallCode(int code);

// One row of the table, for whoever must read it whole (tests).
struct KnownCodeRow {
    uint32_t code;
    bool installer;      // the row holds for the installer's code
    bool servicingApi;   // ... for the servicing API's result
    int restartPending;  // -1 either way, 0 only without, 1 only with a pending restart
    RemovalOutcome outcome;
};
const std::vector<KnownCodeRow>& KnownUninstallCodes();
// True for an installer code the table holds.
bool IsKnownUninstallCode(int code);
// The outcome of every code the table does not hold.
RemovalOutcome FallbackOutcome(uint32_t code);
// The code's 32-bit hexadecimal form, as Microsoft's lists write it ("0x800F0825").
std::wstring HexCode(uint32_t code);

}  // namespace WindowsHotfix
