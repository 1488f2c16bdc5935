// Every conversion of text between its forms, in one namespace:
//   Utf8ToWide/WideToUtf8        UTF-8 <-> wide, whatever the locale (files, logs)
//   NarrowToWide/WideToNarrow    the narrow code page <-> wide: the active ANSI
//                                code page (CP_ACP) on Windows, the LC_CTYPE
//                                locale's code set elsewhere
//   WideToPath/PathToWide        wide text <-> filesystem paths
//   NarrowPathToWide, NativeSeparators
//   LowerCase                    for names compared without regard to case
// wchar_t is UTF-16 on Windows and UTF-32 elsewhere. They live in the lowest
// layer because the POSIX stand-ins of the Windows calls need them to speak
// Windows' wide text; like the calls, they log nothing. TextConversion.cpp holds
// what needs no system call, TextConversion_win.cpp and _posix.cpp the rest.
#pragma once

#include <filesystem>
#include <string>

namespace Strconv {

// Invalid input becomes U+FFFD.
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);

// The exact length is converted, so embedded zero characters convert like any
// other. An unconvertible byte becomes U+FFFD, a character the code page
// lacks "?"; a text the system cannot convert at all gives an empty result.
std::wstring NarrowToWide(const std::string& text);
std::string WideToNarrow(const std::wstring& text);

// Windows paths are UTF-16 already; elsewhere paths are bytes, taken as UTF-8.
std::filesystem::path WideToPath(const std::wstring& text);
std::wstring PathToWide(const std::filesystem::path& path);
// A narrow path as the program's wide text: in the ANSI code page on Windows
// (as the "A" calls take it), UTF-8 bytes elsewhere.
std::wstring NarrowPathToWide(const std::string& path);
// The program names its folders Windows-style ("res\values\"); elsewhere the
// backslashes become the system's separator.
std::wstring NativeSeparators(std::wstring path);

// Each character through the C library's towlower (the locale's rules).
std::wstring LowerCase(std::wstring text);

}  // namespace Strconv
