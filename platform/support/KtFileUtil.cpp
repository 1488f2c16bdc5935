// The portable part of KtFileUtil: file tests, the language check and paths
// relative to the executable's folder.
#include "support/KtFileUtil.h"

#include <filesystem>

#include "support/KtLogger.h"
#include "support/LanguageFiles.h"
#include "support/ModulePath.h"
#include "winapi/TextConversion.h"

namespace fs = std::filesystem;

namespace DE {

bool FileExistsW(const std::wstring& path) {
    std::error_code ec;
    const fs::file_status status =
        fs::status(Strconv::WideToPath(Strconv::NativeSeparators(path)), ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
}

bool FileExistsA(const std::string& path) {
    return FileExistsW(Strconv::NarrowPathToWide(path));
}

bool LanguageResExist(std::wstring language, const std::wstring& folder) {
    return !ResolveLanguageFile(folder, language).empty();
}

}  // namespace DE

namespace FileInfo {

bool GetSelfFullFilePath(std::wstring& fullPath, const std::wstring& relativePath) {
    const std::wstring folder = ModulePath::ExecutableFolder();
    if (folder.empty()) {
        KT_LOG(LOG_ERROR, L"cannot read the executable's path", "FileInfo::GetSelfFullFilePath");
        return false;
    }
    fullPath = Strconv::NativeSeparators(folder + relativePath);
    return true;
}

}  // namespace FileInfo
