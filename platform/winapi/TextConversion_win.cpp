// The conversions on Windows: the narrow code page is the active ANSI code
// page (CP_ACP), and paths are UTF-16 as they stand.

#include <windows.h>

#include "winapi/TextConversion.h"

namespace Strconv {

std::wstring NarrowToWide(const std::string& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int count = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (count <= 0) return {};
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], count);
    return wide;
}

std::string WideToNarrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int count =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (count <= 0) return {};
    std::string narrow(static_cast<size_t>(count), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, &narrow[0], count, nullptr, nullptr);
    return narrow;
}

std::filesystem::path WideToPath(const std::wstring& text) {
    return std::filesystem::path(text);
}

std::wstring PathToWide(const std::filesystem::path& path) {
    return path.wstring();
}

std::wstring NarrowPathToWide(const std::string& path) {
    return NarrowToWide(path);
}

std::wstring NativeSeparators(std::wstring path) {
    return path;
}

}  // namespace Strconv
