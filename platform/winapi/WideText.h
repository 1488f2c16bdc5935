// The conversions of wide text that need no system call: UTF-8 <-> wide and
// lower case. They live with the stand-ins, which need them to speak Windows'
// wide text over POSIX calls; support/TextConversion.h offers them with the rest.
#pragma once

#include <string>

namespace Utf8 {
// Invalid input becomes U+FFFD.
std::string FromWide(const std::wstring& text);
std::wstring ToWide(const std::string& text);
}  // namespace Utf8

// Each character through the C library's towlower (the locale's rules).
std::wstring LowerCase(std::wstring text);
