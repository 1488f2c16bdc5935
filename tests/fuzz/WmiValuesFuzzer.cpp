// The conversion of what WMI reports for each hotfix: the update number taken
// from its HotFixID (all that reaches the installer's command line) and its
// InstalledOn text read as a date in the order decided once for the whole
// list. Input: one hotfix a line, HotFixID and InstalledOn separated by a tab.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "hotfix/InstalledOnDate.h"
#include "hotfix/KbNumber.h"

namespace {

constexpr size_t kMaxHotfixes = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::wstring> ids, installedOns;
    while (!input.empty() && ids.size() < kMaxHotfixes) {
        std::string line = FuzzSupport::TakeField(input, '\n');
        ids.push_back(FuzzSupport::DecodeText(FuzzSupport::TakeField(line, '\t')));
        installedOns.push_back(FuzzSupport::DecodeText(line));
    }
    for (const std::wstring& id : ids) {
        const std::wstring number = ExtractKbNumber(id);
        FUZZ_CHECK(number.find_first_not_of(L"0123456789") == std::wstring::npos);
        FUZZ_CHECK(number.empty() || id.find(number) != std::wstring::npos);
    }
    const SlashDates order = SlashOrderOf(installedOns);
    for (const std::wstring& text : installedOns) {
        const InstalledOnDate date = FormatInstalledOn(text, order);
        // A real date, or the plain rewrite of the "/" pieces, or no date with its reason.
        if (FuzzSupport::IsRealShownDate(date.text)) continue;
        FUZZ_CHECK(date.text == FuzzSupport::SlashRewrite(text));
        if (date.text.empty()) FUZZ_CHECK(date.problem != nullptr);
    }
    return 0;
}
