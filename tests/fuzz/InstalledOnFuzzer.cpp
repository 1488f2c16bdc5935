// The installation date rewriting of a list row
// (HotfixManageItemDetail::GetInstalledOn). Input: the InstalledOn text.
#include <vector>

#include "FuzzSupport.h"
#include "ui/item/HotfixManageItemDetail.h"

namespace {

std::vector<std::wstring> Pieces(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> pieces(1);
    for (wchar_t c : text) {
        if (c == separator)
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}

bool AllDigits(const std::wstring& text) {
    if (text.empty()) return false;
    for (wchar_t c : text)
        if (c < L'0' || c > L'9') return false;
    return true;
}

// "Y-M-D" with a four-digit year and a month and a day that exist (month-first
// dates keep their padding as written).
bool IsRealShownDate(const std::wstring& date) {
    const std::vector<std::wstring> parts = Pieces(date, L'-');
    if (parts.size() != 3 || parts[0].size() != 4) return false;
    for (const std::wstring& part : parts)
        if (!AllDigits(part) || part.size() > 4) return false;
    if (parts[0][0] == L'0' || parts[1].size() > 2 || parts[2].size() > 2) return false;
    const int year = std::stoi(parts[0]), month = std::stoi(parts[1]), day = std::stoi(parts[2]);
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
    return month != 2 || day < 29 || leap;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text =
        FuzzSupport::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
    HotfixManageItemDetail row(HotfixInfo{L"KB1", L"Update", text});
    const std::wstring date = row.GetInstalledOn(text);

    // Either a real date, never an impossible one, or the plain rewrite of the
    // text's "/" pieces (the last one first), or nothing.
    if (IsRealShownDate(date)) return 0;
    const std::vector<std::wstring> pieces = Pieces(text, L'/');
    std::wstring rewritten;
    if (pieces.size() > 1 && !pieces.back().empty()) {
        rewritten = pieces.back();
        for (size_t i = 0; i + 1 < pieces.size(); ++i) rewritten += L"-" + pieces[i];
    }
    FUZZ_CHECK(date == rewritten);
    return 0;
}
