#include "duilib/UIAttributes.h"

#include <cwchar>
#include <cwctype>
#include <vector>

#include "duilib/UITextStyle.h"
#include "support/TextUtil.h"
#include "winapi/TextConversion.h"

namespace DuiLib {
namespace Attr {

namespace {

// The pieces between `sep`, each without blanks at its ends.
std::vector<std::wstring> Split(const std::wstring& text, wchar_t sep) {
    std::vector<std::wstring> parts = SplitEvery(text, sep);
    for (std::wstring& part : parts) part = TrimString(part);
    return parts;
}

bool ParseInts(const std::wstring& text, int* out, size_t count) {
    std::vector<std::wstring> parts = Split(text, L',');
    if (parts.size() != count) return false;
    std::vector<int> values(count);
    for (size_t i = 0; i < count; ++i) {
        if (!ParseInt(parts[i], values[i])) return false;
    }
    for (size_t i = 0; i < count; ++i) out[i] = values[i];
    return true;
}

}  // namespace

bool ParseInt(const std::wstring& text, int& out) {
    std::wstring t = TrimString(text);
    if (t.empty()) return false;
    wchar_t* end = nullptr;
    long value = std::wcstol(t.c_str(), &end, 10);
    if (end == t.c_str() || *end != L'\0') return false;
    out = static_cast<int>(value);
    return true;
}

bool ParseRect(const std::wstring& text, UIRect& out) {
    int v[4];
    if (!ParseInts(text, v, 4)) return false;
    out = UIRect{v[0], v[1], v[2], v[3]};
    return true;
}

bool ParseSize(const std::wstring& text, UISize& out) {
    int v[2];
    if (!ParseInts(text, v, 2)) return false;
    out = UISize{v[0], v[1]};
    return true;
}

bool ParseColor(const std::wstring& text, uint32_t& out) {
    std::wstring t = TrimString(text);
    size_t skip = 0;
    if (!t.empty() && t[0] == L'#') {
        skip = 1;
    } else if (t.size() > 2 && t[0] == L'0' && (t[1] == L'x' || t[1] == L'X')) {
        skip = 2;
    }
    std::wstring digits = t.substr(skip);
    if (skip == 0 || (digits.size() != 8 && digits.size() != 6)) return false;
    for (wchar_t c : digits) {
        if (!std::iswxdigit(c)) return false;
    }
    uint32_t value = static_cast<uint32_t>(std::wcstoul(digits.c_str(), nullptr, 16));
    out = digits.size() == 6 ? (0xFF000000u | value) : value;
    return true;
}

bool ParseBool(const std::wstring& text, bool& out) {
    std::wstring t = Strconv::LowerCase(TrimString(text));
    if (t == L"true" || t == L"1") {
        out = true;
        return true;
    }
    if (t == L"false" || t == L"0") {
        out = false;
        return true;
    }
    return false;
}

bool ParseAlign(const std::wstring& text, unsigned& out) {
    unsigned style = 0;
    for (const std::wstring& part : Split(Strconv::LowerCase(text), L'|')) {
        if (part == L"left") {
            style |= DT_ALIGN_LEFT;
        } else if (part == L"center") {
            style |= DT_ALIGN_CENTER;
        } else if (part == L"right") {
            style |= DT_ALIGN_RIGHT;
        } else if (part == L"vcenter") {
            style |= DT_ALIGN_VCENTER;
        } else if (part == L"wrap") {
            style |= DT_ALIGN_WRAP;
        } else if (part == L"ellipsis") {
            style |= DT_ALIGN_ELLIPSIS;
        } else {
            return false;
        }
    }
    out = style;
    return true;
}

}  // namespace Attr
}  // namespace DuiLib
