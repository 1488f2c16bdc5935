// The installation date rewriting of a list row
// (HotfixManageItemDetail::GetInstalledOn). Input: the InstalledOn text.
#include <vector>

#include "FuzzSupport.h"
#include "ui/item/HotfixManageItemDetail.h"

namespace {

std::vector<std::wstring> PiecesBetweenSlashes(const std::wstring& text) {
    std::vector<std::wstring> pieces(1);
    for (wchar_t c : text) {
        if (c == L'/')
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text =
        FuzzSupport::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
    HotfixManageItemDetail row(HotfixInfo{L"KB1", L"Update", text});
    const std::wstring date = row.GetInstalledOn(text);

    const std::vector<std::wstring> pieces = PiecesBetweenSlashes(text);
    if (pieces.size() < 2 || pieces.back().empty()) {  // empty, no "/", or "/" at the end
        FUZZ_CHECK(date.empty());
        return 0;
    }
    // The last piece (the year) first, then every earlier piece after a "-": none is lost.
    std::wstring expected = pieces.back();
    for (size_t i = 0; i + 1 < pieces.size(); ++i) expected += L"-" + pieces[i];
    FUZZ_CHECK(date == expected);
    FUZZ_CHECK(date.size() == text.size());
    return 0;
}
