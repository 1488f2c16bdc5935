#include <windows.h>
// (first: the other Windows headers build on it)
#include <shlobj.h>

#include "support/LogPlatform.h"

namespace LogPlatform {

std::filesystem::path PerUserStateFolder() {
    PWSTR folder = nullptr;
    std::filesystem::path result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder)))
        result = folder;
    CoTaskMemFree(folder);
    if (result.empty()) {
        wchar_t buffer[MAX_PATH] = {};
        DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH);
        if (length > 0 && length < MAX_PATH) result = buffer;
    }
    return result;
}

std::uint64_t CurrentThreadNumber() {
    return GetCurrentThreadId();
}

std::tm LocalTime(std::time_t when) {
    std::tm parts{};
    localtime_s(&parts, &when);
    return parts;
}

std::FILE* OpenForAppend(const std::filesystem::path& path) {
    return _wfopen(path.c_str(), L"ab");
}

}  // namespace LogPlatform
