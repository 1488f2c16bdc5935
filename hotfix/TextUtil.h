// Conversions between the ANSI code page and wide text, splitting and placeholder substitution.
#pragma once

#include <string>
#include <vector>

std::wstring StringToWString(const std::string& text);
std::string WStringToString(const std::wstring& text);
// Appends the pieces between delimiters; see TextUtil.cpp for the exact rules.
void SplitString(const std::wstring& text, const std::wstring& delimiter,
                 std::vector<std::wstring>& pieces);
std::wstring FormatString(const std::wstring& source, const std::wstring& argument,
                          const std::wstring& placeholder);
