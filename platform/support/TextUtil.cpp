// Splitting and placeholder substitution.
//
// SplitString appends every piece before or between delimiters (empty ones
// too) and the rest after the last delimiter unless it is empty: with "@UI@",
// "a@UI@b" -> a, b; "@UI@b" -> "", b; "a@UI@" -> a; "a@UI@@UI@b" -> a, "", b.
// FormatString replaces the placeholder's occurrences in order: with a plain
// argument each takes the whole argument; with "first@UI@x&UI&v1$UI$y&UI&v2"
// occurrence k takes value k of (first, v1, v2), or the first value when
// there are fewer. Inserted text is never searched again.
#include "support/TextUtil.h"

#include <algorithm>
#include <cwctype>

const std::wstring FORMAT_FIRST_VALUE_MARKER = L"@UI@";
const std::wstring FORMAT_ENTRY_MARKER = L"$UI$";
const std::wstring FORMAT_VALUE_MARKER = L"&UI&";

namespace {

// The values of a list argument; false when it is malformed (no two parts).
bool ParseValueList(const std::wstring& argument, std::vector<std::wstring>& values) {
    std::vector<std::wstring> parts;
    SplitString(argument, FORMAT_FIRST_VALUE_MARKER, parts);
    if (parts.size() != 2) return false;
    values.push_back(parts[0]);
    std::vector<std::wstring> entries;
    SplitString(parts[1], FORMAT_ENTRY_MARKER, entries);
    for (const std::wstring& entry : entries) {
        std::vector<std::wstring> pair;
        SplitString(entry, FORMAT_VALUE_MARKER, pair);
        if (pair.size() == 2) values.push_back(pair[1]);
    }
    return true;
}
}  // namespace

void SplitString(const std::wstring& text, const std::wstring& delimiter,
                 std::vector<std::wstring>& pieces) {
    if (delimiter.empty()) {  // nothing to split at: the text is one piece
        if (!text.empty()) pieces.push_back(text);
        return;
    }
    size_t start = 0;
    for (size_t found = text.find(delimiter); found != std::wstring::npos;
         found = text.find(delimiter, start)) {
        pieces.push_back(text.substr(start, found - start));
        start = found + delimiter.size();
    }
    if (start != text.size()) pieces.push_back(text.substr(start));
}

std::wstring FormatString(const std::wstring& source, const std::wstring& argument,
                          const std::wstring& placeholder) {
    std::wstring result = source;
    std::vector<std::wstring> values;
    const bool listMode = argument.find(FORMAT_FIRST_VALUE_MARKER) != std::wstring::npos;
    if (listMode && !ParseValueList(argument, values)) return source;
    if (placeholder.empty()) return result;

    size_t position = result.find(placeholder);
    for (size_t k = 0; position != std::wstring::npos && k < source.size(); ++k) {
        const std::wstring& replacement =
            !listMode ? argument : (k < values.size() ? values[k] : values[0]);
        result.replace(position, placeholder.size(), replacement);
        position = result.find(placeholder, position + replacement.size());
    }
    return result;
}

std::vector<std::wstring> SplitEvery(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> pieces;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        pieces.push_back(text.substr(start, at == std::wstring::npos ? at : at - start));
        if (at == std::wstring::npos) return pieces;
        start = at + 1;
    }
}

std::wstring TrimString(const std::wstring& text, const wchar_t* blanks) {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) return L"";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::wstring FillNumberedPlaceholders(const std::wstring& text, const std::vector<int>& values) {
    std::wstring out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find(L'{', pos);
        size_t close = open == std::wstring::npos ? open : text.find(L'}', open);
        if (close == std::wstring::npos) break;
        std::wstring inner = text.substr(open + 1, close - open - 1);
        bool digits = !inner.empty() && inner.size() < 6;
        for (wchar_t c : inner) digits = digits && std::iswdigit(c);
        size_t index = digits ? std::stoul(inner) : values.size();
        out += text.substr(pos, open - pos);
        out += index < values.size() ? std::to_wstring(values[index])
                                     : text.substr(open, close - open + 1);
        pos = close + 1;
    }
    out += text.substr(std::min(pos, text.size()));
    return out;
}
