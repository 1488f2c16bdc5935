#include "app/ProgramFolderCheck.h"

#include "duilib/UIlib.h"
#include "support/KtLogger.h"
#include "winapi/UserAccess.h"
#include "winapi/WinApi.h"

namespace {

const char* const kCheckName = "UserMayChangeProgramFiles";

}  // namespace

bool UserMayChangeProgramFiles(const std::wstring& instancePath, const std::wstring& executable) {
    uint32_t error = 0;
    HANDLE token = WinApi::OpenLinkedToken(error);
    if (token == nullptr) {
        KT_LOG(LOG_ERROR, L"no linked token, program folder not checked! ret:" << error,
               kCheckName);
        return false;
    }
    const std::wstring folder = instancePath.substr(0, instancePath.size() - 1);
    const std::wstring paths[] = {folder, instancePath + L"res", instancePath + L"config",
                                  executable};
    bool changeable = false;
    for (const std::wstring& path : paths) {
        bool mayChange = false;
        if (!WinApi::UserMayChange(token, path, mayChange, error)) {
            KT_LOG(LOG_ERROR, L"program folder check fail! ret:" << error << L" path:" << path,
                   kCheckName);
        } else if (mayChange) {
            KT_LOG(LOG_ERROR, L"program files can be changed by the user! path:" << path,
                   kCheckName);
            changeable = true;
            break;
        }
    }
    WinApi::CloseHandle(token);
    return changeable;
}

void ShowProgramFolderUnsafeTips() {
    using DuiLib::UICulture;
    const std::wstring text =
        UICulture::GetInstance()->GetString(L"IDS_PROGRAM_FOLDER_UNSAFE_TIPS").str();
    const std::wstring caption = UICulture::GetInstance()->GetString(L"IDS_PROMPT_TIPS").str();
    WinApi::MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_TOPMOST);
}
