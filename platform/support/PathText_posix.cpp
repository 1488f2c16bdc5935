#include <algorithm>

#include "support/PathText.h"
#include "support/Utf8.h"

namespace PathText {

std::filesystem::path FromWide(const std::wstring& text) {
    return std::filesystem::path(Utf8::FromWide(text));
}

std::wstring ToWide(const std::filesystem::path& path) {
    return Utf8::ToWide(path.string());
}

std::wstring NativeSeparators(std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return path;
}

}  // namespace PathText
