#include "support/Common.h"

#include "support/KtLogger.h"
#include "support/ModulePath.h"

Common* Common::GetInstance() {
    static Common instance;
    return &instance;
}

std::wstring Common::GetDllPathByModuleW(HINSTANCE module) {
    const std::wstring folder =
        ModulePath::WithoutTrailingSeparator(ModulePath::FolderOf(ModulePath::FilePath(module)));
    if (folder.empty())
        KT_LOG(LOG_ERROR, L"cannot read the module's path", "Common::GetDllPathByModuleW");
    return folder;
}
