// The portable part of KtFileUtil: file tests by wide path, the language
// check and paths relative to the executable's folder.
#include "support/KtFileUtil.h"

#include <filesystem>

#include "support/KtLogger.h"
#include "support/LanguageFiles.h"
#include "support/ModulePath.h"
#include "support/PathText.h"

namespace fs = std::filesystem;

namespace DE {

bool FileExistsW(const std::wstring& path) {
    std::error_code ec;
    const fs::file_status status =
        fs::status(PathText::FromWide(PathText::NativeSeparators(path)), ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
}

bool LanguageResExist(std::wstring language, const std::wstring& folder) {
    return !ResolveLanguageFile(folder, language).empty();
}

}  // namespace DE

namespace FileInfo {

bool GetSelfFullFilePath(std::wstring& fullPath, const std::wstring& relativePath) {
    const std::wstring folder = ModulePath::Folder(ModulePath::FilePath(nullptr));
    if (folder.empty()) {
        KT_LOG(LOG_ERROR, L"cannot read the executable's path", "FileInfo::GetSelfFullFilePath");
        return false;
    }
    std::wstring separator(1, static_cast<wchar_t>(fs::path::preferred_separator));
    if (folder.back() == L'/' || folder.back() == L'\\') separator.clear();
    fullPath = PathText::NativeSeparators(folder + separator + relativePath);
    return true;
}

}  // namespace FileInfo
