// The entry point: logger, DPI awareness, single instance, resources and language,
// then the main window's modal run and the message loop. Exit code 0 on every path.
#include <new>
#include <string>

#include "app/ProgramFolderCheck.h"
#include "app/Startup.h"
#include "duilib/UIlib.h"
#include "support/Common.h"
#include "support/KtFileUtil.h"
#include "support/KtLogger.h"
#include "support/ModulePath.h"
#include "support/SystemEnvironment.h"
#include "ui/SharedConstants.h"
#include "ui/main/MainWindow.h"
#include "winapi/SingleInstance.h"
#include "winapi/WinApi.h"

using namespace DuiLib;

HANDLE g_instanceMutex = nullptr;

namespace {

const wchar_t* const INSTANCE_MUTEX_NAME = L"windows//PC/Orvelle";
const char* const LOGGER_FOLDER = "Orvelle";
const UINT MAIN_WINDOW_ICON = 5;
const UINT FIRST_WINDOW_TIMEOUT_MS = 1000;

void CloseInstanceMutex() {
    if (g_instanceMutex != nullptr) {
        WinApi::CloseHandle(g_instanceMutex);
        g_instanceMutex = nullptr;
    }
}

// The system folder becomes the current directory: the one inherited from
// whoever started the program may be a folder any user can write. Every path
// the program opens is absolute (from the executable's folder). 0, or the
// system error.
uint32_t EnterSystemFolder() {
    wchar_t folder[260] = {};
    const uint32_t length = WinApi::GetSystemDirectoryW(folder, 260);
    if (length == 0 || length >= 260 || !WinApi::SetCurrentDirectoryW(folder)) {
        const uint32_t error = WinApi::GetLastError();
        return error != 0 ? error : 1;
    }
    return 0;
}

// True when `window` belongs to a process that runs this same executable
// elevated: a window of that class and title in any other process gets
// neither a message nor the foreground.
bool IsFirstInstanceWindow(HWND window) {
    const std::wstring path = ModulePath::FilePath(nullptr);
    uint32_t error = 0;
    if (!path.empty() &&
        WinApi::IsElevatedProcessOf(WindowApi::GetWindowProcessId(window), path, error))
        return true;
    KT_LOG(LOG_ERROR, L"window of another program left alone! ret:" << error, "IsAlreadyRunning");
    return false;
}

// Points the toolkit at the executable's res/ folder and the language strings
// at res\values\, and loads the user's language; returns that language.
std::wstring ConfigureResources(HINSTANCE instance) {
    CPaintManagerUI::SetInstance(instance);
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + RESOURCE_FOLDER);
    UICulture::GetInstance()->SetLanguagePath(
        (CPaintManagerUI::GetInstancePath() + LANGUAGE_FOLDER).str());
    const std::wstring language = SystemEnvironment::GetCurrentUserLanguage();
    UICulture::GetInstance()->SetLanguage(language, true);
    return language;
}

// Creates the main window, runs it modally and then the message loop until
// the quit message, and deletes it.
void RunMainWindow() {
    MainWindow* window = new (std::nothrow) MainWindow();
    if (window == nullptr) {
        return;
    }
    if (window->Create(nullptr, L"", WS_POPUP, WS_EX_WINDOWEDGE, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr) == nullptr) {
        // No window would ever post the quit message that ends the loop below.
        KT_LOG(LOG_ERROR, L"create main window fail!", "wWinMain");
        delete window;
        return;
    }
    window->CenterWindow();
    window->SetIcon(MAIN_WINDOW_ICON);
    window->ShowModal();
    CPaintManagerUI::MessageLoop();
    delete window;
}

}  // namespace

bool IsAlreadyRunning() {
    const WinApi::InstanceLock lock = WinApi::LockSingleInstance(INSTANCE_MUTEX_NAME);
    g_instanceMutex = lock.mutex;
    if (lock.squatted)
        KT_LOG(LOG_ERROR, L"instance mutex of another owner ignored! ret:" << lock.error,
               "IsAlreadyRunning");
    if (!lock.alreadyRunning) return false;
    HWND firstWindow = WindowApi::FindWindowW(MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE);
    if (firstWindow != nullptr && IsFirstInstanceWindow(firstWindow)) {
        // A first instance that hangs must not hang this one too.
        WindowApi::SendMessageTimeoutW(firstWindow, WM_SYSCOMMAND, SC_RESTORE, 0,
                                       FIRST_WINDOW_TIMEOUT_MS);
        WindowApi::SetForegroundWindow(firstWindow);
    }
    CloseInstanceMutex();
    return true;
}

void ShowResourceMissingTips() {
    const std::wstring text =
        UICulture::GetInstance()->GetString(L"IDS_RES_FILE_NOT_EXIST_TIPS").str();
    const std::wstring caption = UICulture::GetInstance()->GetString(L"IDS_PROMPT_TIPS").str();
    WinApi::MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_TOPMOST);
}

extern "C" int wWinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine,
                        int showCommand) {
    // First, before anything may load a DLL: System32 only, never this or the
    // current folder. Then no junction a non-administrator made is followed.
    const uint32_t dllSearchError = WinApi::RestrictDllSearchToSystem32();
    const uint32_t redirectionError = WinApi::EnforceRedirectionTrust();
    const uint32_t folderError = EnterSystemFolder();
    KtLogger::GetInstance()->SetProcessLoggerDir(std::string(LOGGER_FOLDER));
    KtLogger::GetInstance()->InitProcessLogger();
    if (dllSearchError != 0) {
        // Any DLL could come from a folder the user can write: do not run.
        KT_LOG(LOG_ERROR, L"restrict dll search fail! ret:" << dllSearchError, "wWinMain");
        return 0;
    }
    if (redirectionError != 0) {
        // Expected where Windows has no RedirectionGuard; the log folder is checked anyway.
        KT_LOG(LOG_ERROR, L"enforce redirection trust fail! ret:" << redirectionError, "wWinMain");
    }
    if (folderError != 0) {
        KT_LOG(LOG_ERROR, L"enter the system folder fail! ret:" << folderError, "wWinMain");
    }
    Common::GetInstance()->DPIAware();
    if (IsAlreadyRunning()) {
        return 0;
    }
    const std::wstring language = ConfigureResources(instance);
    if (UserMayChangeProgramFiles(CPaintManagerUI::GetInstancePath().str(),
                                  ModulePath::FilePath(nullptr))) {
        ShowProgramFolderUnsafeTips();
        return 0;
    }
    const std::wstring languageFolder =
        (CPaintManagerUI::GetInstancePath() + LANGUAGE_FOLDER).str();
    if (!DE::LanguageResExist(language, languageFolder)) {
        KT_LOG(LOG_ERROR, L"get language resource file fail!", "wWinMain");
        ShowResourceMissingTips();
        return 0;
    }
    RunMainWindow();
    CloseInstanceMutex();
    return 0;
}
