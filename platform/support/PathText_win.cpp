#include "support/PathText.h"

namespace PathText {

std::filesystem::path FromWide(const std::wstring& text) {
    return std::filesystem::path(text);
}

std::wstring ToWide(const std::filesystem::path& path) {
    return path.wstring();
}

std::wstring NativeSeparators(std::wstring path) {
    return path;
}

}  // namespace PathText
