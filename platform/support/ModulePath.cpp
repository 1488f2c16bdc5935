#include "support/ModulePath.h"

#include <vector>

#include "winapi/WinApi.h"

namespace ModulePath {

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

std::wstring Folder(const std::wstring& filePath) {
    const size_t separator = filePath.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return {};
    return filePath.substr(0, separator == 0 ? 1 : separator);
}

}  // namespace ModulePath
