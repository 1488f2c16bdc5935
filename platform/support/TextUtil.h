// The program's one home for splitting, trimming and placeholder substitution
// of wide text, with the code-page conversions (winapi/TextConversion.h).
#pragma once

#include <string>
#include <vector>

#include "winapi/TextConversion.h"

// The markers of a FormatString value list: the first value, then further
// entries, each holding a value ("first@UI@x&UI&v1$UI$y&UI&v2").
extern const std::wstring FORMAT_FIRST_VALUE_MARKER;  // "@UI@"
extern const std::wstring FORMAT_ENTRY_MARKER;        // "$UI$"
extern const std::wstring FORMAT_VALUE_MARKER;        // "&UI&"

// Appends the pieces between delimiters; see TextUtil.cpp for the exact rules.
void SplitString(const std::wstring& text, const std::wstring& delimiter,
                 std::vector<std::wstring>& pieces);
std::wstring FormatString(const std::wstring& source, const std::wstring& argument,
                          const std::wstring& placeholder);

// Every piece between the separators, empty ones and a last empty one too:
// "a,,b," -> a, "", b, ""; "" -> "".
std::vector<std::wstring> SplitEvery(const std::wstring& text, wchar_t separator);
// The text without the `blanks` at either end.
constexpr const wchar_t* kAsciiBlanks = L" \t\n\v\f\r";
std::wstring TrimString(const std::wstring& text, const wchar_t* blanks = kAsciiBlanks);
// `text` with each "{n}" that has a value replaced by values[n] in decimal;
// anything else ("{a}", "{7}" without a value) stays as it is.
std::wstring FillNumberedPlaceholders(const std::wstring& text, const std::vector<int>& values);
