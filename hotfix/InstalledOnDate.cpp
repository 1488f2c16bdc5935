// Windows writes InstalledOn in the machine's regional short date, in the
// compact "YYYYMMDD" form, or as a FILETIME on older systems. Only a form that
// gives one real date is read as such; anything else takes the plain rewrite of
// its "/" pieces, the year assumed last (SlashRewrite).
#include "hotfix/InstalledOnDate.h"

#include <cstdint>

#include "support/LocalDate.h"
#include "support/TextUtil.h"

namespace {

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

// "A/B/YYYY": the two numbers before the year, or false.
bool SlashNumbers(const std::vector<std::wstring>& pieces, int& a, int& b) {
    if (pieces.size() != 3 || Year(pieces[2]) < 0) return false;
    a = Number(pieces[0], 2);
    b = Number(pieces[1], 2);
    return a >= 0 && b >= 0;
}

// Three numeric pieces that are a date in the order given.
enum class Order { YearMonthDay, DayMonthYear };
bool ReadPieces(const std::vector<std::wstring>& pieces, Order order, CivilDate& date) {
    if (pieces.size() != 3) return false;
    const bool yearFirst = order == Order::YearMonthDay;
    date.year = Year(yearFirst ? pieces[0] : pieces[2]);
    date.month = Number(pieces[1], 2);
    date.day = Number(yearFirst ? pieces[2] : pieces[0], 2);
    return date.year > 0 && date.month >= 0 && date.day >= 0;
}

bool ReadCompact(const std::wstring& text, CivilDate& date) {
    if (text.size() != 8 || Number(text, 8) < 0) return false;
    return ReadPieces({text.substr(0, 4), text.substr(4, 2), text.substr(6, 2)},
                      Order::YearMonthDay, date);
}

// 16 hexadecimal digits: `value` holds them.
bool ReadHex(const std::wstring& text, uint64_t& value) {
    if (text.size() != 16) return false;
    value = 0;
    for (wchar_t c : text) {
        int digit = -1;
        if (c >= L'0' && c <= L'9') digit = c - L'0';
        if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
        if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
        if (digit < 0) return false;
        value = value << 4 | static_cast<uint64_t>(digit);
    }
    return true;
}

// The text's pieces between "/" with the last moved to the front, each after
// a "-", unchecked: "1/2/3/4" gives "4-1-2-3", "/7/2026" gives "2026--7". No
// date when the text is empty, holds no "/" or ends with one.
InstalledOnDate SlashRewrite(std::wstring installedTime) {
    if (installedTime.empty()) return {L"", L"installedTime is empty"};
    std::wstring timeStr;
    for (size_t slash; (slash = installedTime.find(L'/')) != std::wstring::npos;) {
        timeStr += L"-" + installedTime.substr(0, slash);
        installedTime.erase(0, slash + 1);
    }
    if (installedTime.empty() || timeStr.empty()) return {L"", L"timeStr is empty"};
    return {installedTime + timeStr, nullptr};
}

InstalledOnDate Checked(const CivilDate& date, const std::wstring& shown,
                        const std::wstring& written) {
    if (IsRealDate(date)) return {shown, nullptr};
    return SlashRewrite(written);
}

}  // namespace

SlashDates SlashOrderOf(const std::vector<std::wstring>& installedOns) {
    bool firstAbove12 = false, secondAbove12 = false;
    for (const std::wstring& text : installedOns) {
        int a = 0, b = 0;
        if (!SlashNumbers(SplitEvery(TrimString(text, L" \t"), L'/'), a, b)) continue;
        firstAbove12 = firstAbove12 || a > 12;
        secondAbove12 = secondAbove12 || b > 12;
    }
    return firstAbove12 && !secondAbove12 ? SlashDates::DayFirst : SlashDates::MonthFirst;
}

InstalledOnDate FormatInstalledOn(const std::wstring& installedOn, SlashDates order) {
    const std::wstring text = TrimString(installedOn, L" \t");
    if (text.empty()) return SlashRewrite(installedOn);
    CivilDate date;
    const std::vector<std::wstring> slashed = SplitEvery(text, L'/');
    int a = 0, b = 0;
    if (SlashNumbers(slashed, a, b)) {
        date.year = Year(slashed[2]);
        if (order == SlashDates::DayFirst) {
            date.day = a;
            date.month = b;
            return Checked(date, Show(date), installedOn);
        }
        date.month = a;
        date.day = b;
        return Checked(date, slashed[2] + L"-" + slashed[0] + L"-" + slashed[1], installedOn);
    }
    if (ReadPieces(slashed, Order::YearMonthDay, date) ||
        ReadPieces(SplitEvery(text, L'-'), Order::YearMonthDay, date) ||
        ReadPieces(SplitEvery(text, L'.'), Order::DayMonthYear, date) || ReadCompact(text, date)) {
        return Checked(date, Show(date), installedOn);
    }
    uint64_t fileTime = 0;
    if (ReadHex(text, fileTime) && fileTime != 0 && LocalDate::FromFileTime(fileTime, date)) {
        return Checked(date, Show(date), installedOn);
    }
    return SlashRewrite(installedOn);
}
