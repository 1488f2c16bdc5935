// Stands in for wusa.exe in the Wine test prefix (copied to system32 as
// wusa.exe). Appends its command line (UTF-8, one line) to the file named by
// FAKE_WUSA_RECORD, writes its current directory to the file named by
// FAKE_WUSA_FOLDER_RECORD, keeps running while the file named by FAKE_WUSA_HOLD exists
// (at most 60 s), then exits with FAKE_WUSA_EXIT_CODE (decimal or 0x-hex, 32
// bits; 0 when unset).

#include <windows.h>

#include <cwchar>
#include <string>

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

}  // namespace

int wmain() {
    AppendLine(Variable(L"FAKE_WUSA_RECORD"), std::wstring(GetCommandLineW()) + L"\n");
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    AppendLine(Variable(L"FAKE_WUSA_FOLDER_RECORD"), folder);
    WaitWhileHeld(Variable(L"FAKE_WUSA_HOLD"));
    const std::wstring code = Variable(L"FAKE_WUSA_EXIT_CODE");
    const unsigned long long value = code.empty() ? 0 : std::wcstoull(code.c_str(), nullptr, 0);
    ExitProcess(static_cast<UINT>(value));
}
