// KtFileUtil on other systems: narrow paths are the file system's bytes.
// Executables carry no version resource here, so the version is empty.
#include <algorithm>
#include <filesystem>

#include "support/KtFileUtil.h"
#include "support/KtLogger.h"

namespace DE {

bool FileExistsA(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(native, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::wstring GetFileVersion(const std::wstring& file) {
    KT_LOG(LOG_ERROR, L"no version resources on this system, file:" << file, "DE::GetFileVersion");
    return {};
}

}  // namespace DE
