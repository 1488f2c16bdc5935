// UTF-8 <-> wide text, independent of the locale. wchar_t is UTF-16 on
// Windows and UTF-32 elsewhere; invalid input becomes U+FFFD.
#pragma once

#include <string>

namespace Utf8 {
std::string FromWide(const std::wstring& text);
std::wstring ToWide(const std::string& text);
}  // namespace Utf8
