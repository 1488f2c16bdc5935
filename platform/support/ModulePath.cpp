#include "support/ModulePath.h"

#include <vector>

#include "winapi/WinApi.h"

namespace ModulePath {

namespace {
bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}
}  // namespace

std::wstring FilePath(void* module) {
    std::vector<wchar_t> buffer(260);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const uint32_t size = static_cast<uint32_t>(buffer.size());
        const uint32_t length = WinApi::GetModuleFileNameW(module, buffer.data(), size);
        if (length == 0) return {};
        if (length < size) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 4);  // truncated: try a larger buffer
    }
    return {};
}

std::wstring FolderOf(const std::wstring& filePath) {
    const size_t separator = filePath.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return {};
    return filePath.substr(0, separator + 1);
}

std::wstring ExecutableFolder() {
    return FolderOf(FilePath(nullptr));
}

std::wstring WithoutTrailingSeparator(const std::wstring& folder) {
    if (folder.empty() || !IsSeparator(folder.back())) return folder;
    const std::wstring parent = folder.substr(0, folder.size() - 1);
    const bool root = parent.empty() || parent.back() == L':';
    return root ? folder : parent;
}

}  // namespace ModulePath
