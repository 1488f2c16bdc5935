// The installation date rewriting of a list row
// (HotfixManageItemDetail::GetInstalledOn). Input: the InstalledOn text.
#include "FuzzSupport.h"
#include "ui/item/HotfixManageItemDetail.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text =
        FuzzSupport::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
    HotfixManageItemDetail row(HotfixInfo{L"KB1", L"Update", text});
    const std::wstring date = row.GetInstalledOn(text);

    // Either a real date, never an impossible one, or the plain rewrite of the
    // text's "/" pieces (the last one first), or nothing.
    if (FuzzSupport::IsRealShownDate(date)) return 0;
    FUZZ_CHECK(date == FuzzSupport::SlashRewrite(text));
    return 0;
}
