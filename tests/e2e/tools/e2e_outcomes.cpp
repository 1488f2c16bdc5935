// e2e_outcomes: the installer's outcomes as the program's own tables give them,
// for the uninstall-outcome scenario to run each one end to end. One line for
// every installer code of the outcome table that holds with no restart pending
// (the scenario's prefix has none), then one for a code it does not hold:
//   "<exit code> <status> <label key> <label colour AARRGGBB> <restart bar 0|1> <reason key>"
// A cancel shows no label: its key and colour are "-"; an outcome without a
// reason line has "-" for its key.
#include <cstdio>

#include "hotfix/UninstallCodes.h"
#include "ui/item/UninstallOutcomes.h"
#include "winapi/TextConversion.h"

namespace {

using namespace WindowsHotfix;

void PrintOutcome(uint32_t code) {
    const RemovalOutcome outcome =
        OutcomeOfCode(static_cast<int>(code), RemovalSource::Installer, [] { return false; });
    const std::string exitCode = Strconv::WideToNarrow(HexCode(code));
    if (outcome.status == UNINSTALL_CANCEL) {
        std::printf("%s %d - - 0 -\n", exitCode.c_str(), outcome.status);
        return;
    }
    const OutcomeLook& look = LookOf(outcome.status);
    const bool restartBar = look.needsRestart || outcome.reason.restartFirst;
    const std::string reason =
        outcome.reason.key == nullptr ? "-" : Strconv::WideToNarrow(outcome.reason.key);
    std::printf("%s %d %s %08X %d %s\n", exitCode.c_str(), outcome.status,
                Strconv::WideToNarrow(look.textKey).c_str(), static_cast<unsigned>(look.color),
                restartBar ? 1 : 0, reason.c_str());
}

}  // namespace

int main() {
    for (const KnownCodeRow& row : KnownUninstallCodes())
        if (row.installer && row.restartPending != 1) PrintOutcome(row.code);
    // ERROR_INVALID_PARAMETER, or the next code the table does not hold.
    uint32_t unknown = 87;
    while (IsKnownUninstallCode(static_cast<int>(unknown))) ++unknown;
    PrintOutcome(unknown);
    return 0;
}
