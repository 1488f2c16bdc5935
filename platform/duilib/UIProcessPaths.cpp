// The process-wide side of CPaintManagerUI (module instance, instance and
// resource paths, the message loop) and CResourceManager.
#include <vector>

#include "duilib/UIBackend.h"
#include "duilib/UIManager.h"
#include "support/KtLogger.h"
#include "winapi/WinApi.h"

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
    std::vector<wchar_t> buffer(1024);
    for (;;) {
        uint32_t size = static_cast<uint32_t>(buffer.size());
        uint32_t length = WinApi::GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            KT_LOG(LOG_ERROR, "GetModuleFileNameW failed", "CPaintManagerUI::GetInstancePath");
            return CDuiString();
        }
        if (length < size - 1 || buffer.size() >= 32768) {
            std::wstring path(buffer.data(), length);
            size_t cut = path.find_last_of(L"\\/");
            if (cut == std::wstring::npos) return CDuiString();
            return CDuiString(path.substr(0, cut + 1));
        }
        buffer.resize(buffer.size() * 2);  // truncated: try a larger buffer
    }
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
