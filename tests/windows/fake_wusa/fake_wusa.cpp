// Stands in for wusa.exe in the Wine test prefix (copied to system32 as
// wusa.exe). Appends its command line (UTF-8, one line) to the file named by
// FAKE_WUSA_RECORD, writes its current directory to the file named by
// FAKE_WUSA_FOLDER_RECORD, keeps running while the file named by FAKE_WUSA_HOLD exists
// (at most 60 s), then exits with FAKE_WUSA_EXIT_CODE (decimal or 0x-hex, 32
// bits; 0 when unset). As Windows does, a removal that succeeds leaves the
// update's package keys (named "..._for_KB<number>~...") in the servicing store
// absent (0) or, when it asks for a restart, uninstall pending (0x05).

#include <windows.h>

#include <cwchar>
#include <string>

#include "hotfix/UninstallCodes.h"

namespace {

std::wstring Variable(const wchar_t* name) {
    wchar_t buffer[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
    return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

void AppendLine(const std::wstring& recordFile, const std::wstring& line) {
    if (recordFile.empty()) return;
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), &bytes[0], size,
                        nullptr, nullptr);
    HANDLE file =
        CreateFileW(recordFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void WaitWhileHeld(const std::wstring& holdFile) {
    if (holdFile.empty()) return;
    for (int i = 0; i < 600 && GetFileAttributesW(holdFile.c_str()) != INVALID_FILE_ATTRIBUTES;
         ++i) {
        Sleep(100);
    }
}

// The number after "/kb:" on the command line.
std::wstring NumberOnCommandLine() {
    const std::wstring line = GetCommandLineW();
    const size_t at = line.find(L"/kb:");
    if (at == std::wstring::npos) return {};
    size_t end = at + 4;
    while (end < line.size() && line[end] >= L'0' && line[end] <= L'9') ++end;
    return line.substr(at + 4, end - at - 4);
}

void MarkPackagesRemoved(const std::wstring& number, DWORD state) {
    HKEY packages = nullptr;
    if (number.empty() ||
        RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                      L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based "
                      L"Servicing\\Packages",
                      0, KEY_READ | KEY_SET_VALUE | KEY_WOW64_64KEY, &packages) != ERROR_SUCCESS)
        return;
    const std::wstring marker = L"_for_KB" + number + L"~";
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(packages, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (std::wstring(name, length).find(marker) == std::wstring::npos) continue;
        HKEY key = nullptr;
        if (RegOpenKeyExW(packages, name, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) !=
            ERROR_SUCCESS)
            continue;
        RegSetValueExW(key, L"CurrentState", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&state),
                       sizeof(state));
        RegCloseKey(key);
    }
    RegCloseKey(packages);
}

}  // namespace

int wmain() {
    AppendLine(Variable(L"FAKE_WUSA_RECORD"), std::wstring(GetCommandLineW()) + L"\n");
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    AppendLine(Variable(L"FAKE_WUSA_FOLDER_RECORD"), folder);
    WaitWhileHeld(Variable(L"FAKE_WUSA_HOLD"));
    const std::wstring code = Variable(L"FAKE_WUSA_EXIT_CODE");
    const unsigned long long value = code.empty() ? 0 : std::wcstoull(code.c_str(), nullptr, 0);
    const UINT exit = static_cast<UINT>(value);
    // What the exit code says, by the program's own table.
    const UninstallStatus status = WindowsHotfix::MapUninstallCode(static_cast<int>(exit));
    if (status == UNINSTALL_SUCCESS) MarkPackagesRemoved(NumberOnCommandLine(), 0x00);
    if (status == UNINSTALL_NEED_RESTART) MarkPackagesRemoved(NumberOnCommandLine(), 0x05);
    ExitProcess(static_cast<UINT>(value));
}
