// The installation date rewriting of a list row
// (HotfixManageItemDetail::GetInstalledOn). Input: the InstalledOn text.
#include "FuzzSupport.h"
#include "ui/item/HotfixManageItemDetail.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text =
        FuzzSupport::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
    HotfixManageItemDetail row(HotfixInfo{L"KB1", L"Update", text});
    const std::wstring date = row.GetInstalledOn(text);

    // Either the text as written (without the spaces around it), nothing for a
    // blank text or a zero FILETIME, or a real date: never an impossible one.
    const size_t first = text.find_first_not_of(L" \t");
    const std::wstring written =
        first == std::wstring::npos ? L""
                                    : text.substr(first, text.find_last_not_of(L" \t") - first + 1);
    if (date == written || date.empty()) return 0;
    FUZZ_CHECK(FuzzSupport::IsRealShownDate(date));
    return 0;
}
