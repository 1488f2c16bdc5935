// Windows writes InstalledOn in the machine's regional form, or as a FILETIME on
// older systems. Only a form that gives one real date is read as such: a text
// that fits none is moved piece by piece as it always was, never guessed at.
#include "hotfix/InstalledOnDate.h"

#include <cstdint>
#include <vector>

#include "support/LocalDate.h"

namespace {

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> pieces(1);
    for (wchar_t c : text) {
        if (c == separator) {
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

// The value of 1 to `maxDigits` decimal digits, or -1.
int Number(const std::wstring& text, size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return -1;
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return -1;
        value = value * 10 + (c - L'0');
    }
    return value;
}

// Exactly four digits, not starting with 0.
int Year(const std::wstring& text) {
    return text.size() == 4 && text[0] != L'0' ? Number(text, 4) : -1;
}

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsRealDate(const CivilDate& date) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.year < 1000 || date.year > 9999 || date.month < 1 || date.month > 12) return false;
    const int days = kDays[date.month - 1] + (date.month == 2 && IsLeap(date.year) ? 1 : 0);
    return date.day >= 1 && date.day <= days;
}

std::wstring Show(const CivilDate& date) {
    return std::to_wstring(date.year) + L"-" + std::to_wstring(date.month) + L"-" +
           std::to_wstring(date.day);
}

// Three numeric pieces, in the order given by `yearFirst`, that make a real date.
bool ReadPieces(const std::vector<std::wstring>& pieces, bool yearFirst, bool dayFirst,
                CivilDate& date) {
    if (pieces.size() != 3) return false;
    const std::wstring& yearText = yearFirst ? pieces[0] : pieces[2];
    const std::wstring& first = yearFirst ? pieces[1] : pieces[0];
    const std::wstring& second = yearFirst ? pieces[2] : pieces[1];
    date.year = Year(yearText);
    date.month = Number(dayFirst ? second : first, 2);
    date.day = Number(dayFirst ? first : second, 2);
    return IsRealDate(date);
}

bool ReadFileTime(const std::wstring& text, CivilDate& date) {
    if (text.size() != 16) return false;
    uint64_t value = 0;
    for (wchar_t c : text) {
        int digit = -1;
        if (c >= L'0' && c <= L'9') digit = c - L'0';
        if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
        if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
        if (digit < 0) return false;
        value = value << 4 | static_cast<uint64_t>(digit);
    }
    return LocalDate::FromFileTime(value, date) && IsRealDate(date);
}

// The last "/" piece first, then each earlier piece after a "-".
InstalledOnDate PieceByPiece(const std::vector<std::wstring>& pieces) {
    if (pieces.size() < 2 || pieces.back().empty()) return {L"", L"timeStr is empty"};
    std::wstring text = pieces.back();
    for (size_t i = 0; i + 1 < pieces.size(); ++i) text += L"-" + pieces[i];
    return {text, nullptr};
}

}  // namespace

InstalledOnDate FormatInstalledOn(const std::wstring& installedOn) {
    if (installedOn.empty()) return {L"", L"installedTime is empty"};
    const std::vector<std::wstring> slashed = Split(installedOn, L'/');
    CivilDate date;
    if (slashed.size() > 1) {
        // Month first is Windows' default and stays as written; a first number
        // that cannot be a month makes it day first.
        if (ReadPieces(slashed, false, false, date)) return PieceByPiece(slashed);
        if (Number(slashed[0], 2) > 12 && ReadPieces(slashed, false, true, date)) {
            return {Show(date), nullptr};
        }
        return PieceByPiece(slashed);
    }
    if (ReadPieces(Split(installedOn, L'.'), false, true, date) ||
        ReadPieces(Split(installedOn, L'-'), true, false, date) ||
        ReadFileTime(installedOn, date)) {
        return {Show(date), nullptr};
    }
    return PieceByPiece(slashed);
}
