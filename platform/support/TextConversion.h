// Every conversion of text between its forms, offered in one place:
//   Utf8                              UTF-8 <-> wide, whatever the locale (files, logs)
//   StringToWString/WStringToString   the narrow code page <-> wide: the active ANSI
//                                     code page (CP_ACP) on Windows, the LC_CTYPE
//                                     locale's code set elsewhere
//   PathText                          wide text <-> filesystem paths
//   LowerCase                         for names compared without regard to case
// wchar_t is UTF-16 on Windows and UTF-32 elsewhere. Utf8 and LowerCase need no
// system call and come from the layer below (winapi/WideText.h, which the POSIX
// stand-ins use too); TextConversion_win.cpp and TextConversion_posix.cpp hold the rest.
#pragma once

#include <filesystem>
#include <string>

#include "winapi/WideText.h"

// The exact length is converted, so embedded zero characters convert like any
// other. An unconvertible byte becomes U+FFFD, a character the code page
// lacks "?"; a text the system cannot convert at all gives an empty result.
std::wstring StringToWString(const std::string& text);
std::string WStringToString(const std::wstring& text);

// Windows paths are UTF-16 already; elsewhere paths are bytes, taken as UTF-8.
namespace PathText {
std::filesystem::path FromWide(const std::wstring& text);
std::wstring ToWide(const std::filesystem::path& path);
// A narrow path as the program's wide text: in the ANSI code page on Windows
// (as the "A" calls take it), UTF-8 bytes elsewhere.
std::wstring WideFromNarrow(const std::string& path);
// The program names its folders Windows-style ("res\values\"); elsewhere the
// backslashes become the system's separator.
std::wstring NativeSeparators(std::wstring path);
}  // namespace PathText
