// The process-wide side of CPaintManagerUI (module instance, instance and
// resource paths, the message loop) and CResourceManager.
#include "duilib/UIBackend.h"
#include "duilib/UIManager.h"
#include "support/KtLogger.h"
#include "support/ModulePath.h"

namespace DuiLib {

namespace {

struct ProcessPaths {
    HINSTANCE instance = nullptr;
    std::wstring resourcePath;
};

ProcessPaths& Paths() {
    static ProcessPaths paths;
    return paths;
}

}  // namespace

void CPaintManagerUI::SetInstance(HINSTANCE instance) {
    Paths().instance = instance;
}
HINSTANCE CPaintManagerUI::GetInstance() {
    return Paths().instance;
}

CDuiString CPaintManagerUI::GetInstancePath() {
    const std::wstring path = ModulePath::FilePath(nullptr);
    if (path.empty()) {
        KT_LOG(LOG_ERROR, "GetModuleFileNameW failed", "CPaintManagerUI::GetInstancePath");
        return CDuiString();
    }
    return CDuiString(ModulePath::FolderOf(path));
}

void CPaintManagerUI::SetResourcePath(LPCTSTR path) {
    Paths().resourcePath = path ? path : L"";
}
CDuiString CPaintManagerUI::GetResourcePath() {
    return CDuiString(Paths().resourcePath);
}

void CPaintManagerUI::MessageLoop() {
    Backend::RunMessageLoop();
}

CResourceManager* CResourceManager::GetInstance() {
    static CResourceManager instance;
    return &instance;
}

unsigned CResourceManager::GetScale(CPaintManagerUI* manager) const {
    return manager ? manager->GetScale() : 100;
}

}  // namespace DuiLib
