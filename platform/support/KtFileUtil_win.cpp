// KtFileUtil on Windows: the version resource.

#include <windows.h>
// (first: the other Windows headers build on it)
#include <string>
#include <vector>

#include "support/KtFileUtil.h"
#include "support/KtLogger.h"

namespace DE {

std::wstring GetFileVersion(const std::wstring& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) {
        KT_LOG(LOG_ERROR, L"no version resource, error:" << GetLastError(), "DE::GetFileVersion");
        return {};
    }
    std::vector<unsigned char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) ||
        info == nullptr || infoSize < sizeof(VS_FIXEDFILEINFO)) {
        KT_LOG(LOG_ERROR, L"cannot read the version resource, error:" << GetLastError(),
               "DE::GetFileVersion");
        return {};
    }
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionLS));
}

}  // namespace DE
