#include "PathText.h"

#include "Utf8.h"

namespace PathText {

std::filesystem::path FromWide(const std::wstring& text) {
#ifdef _WIN32
    return std::filesystem::path(text);
#else
    return std::filesystem::path(Utf8::FromWide(text));
#endif
}

std::wstring ToWide(const std::filesystem::path& path) {
#ifdef _WIN32
    return path.wstring();
#else
    return Utf8::ToWide(path.string());
#endif
}

}  // namespace PathText
