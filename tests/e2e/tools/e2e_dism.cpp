// dismapi.dll for the end-to-end scenarios: the servicing API calls the
// program makes to remove a cumulative update, answered as a scenario chooses
// (tests/e2e/lib/servicing.sh puts it into the prefix's system32 with a native
// override). Files in C:\dism-standin\, each read when its call comes:
//   result.txt    the HRESULT DismRemovePackage returns, as hexadecimal text
//                 ("0x800F0825"); absent: S_OK
//   step-ms.txt   milliseconds between progress reports (absent: 100); the
//                 removal reports 0, 10, ..., 100 of 100
//   hold.txt      while it exists the removal stays at 40 of 100 and does not
//                 finish
//   removed.txt   each package name DismRemovePackage was given, a line each
//   calls.txt     every call, a line each, with its arguments and result
// As Windows does, a removal that succeeds (or asks for a restart) leaves the package's key with
// CurrentState 0x05 (uninstall pending) until the restart.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

namespace {

typedef UINT DismSession;
typedef void(CALLBACK* DismProgressCallback)(UINT current, UINT total, PVOID userData);
struct DismString {
    PCWSTR Value;
};
constexpr int kDismPackageName = 1;  // DismPackageIdentifier
const wchar_t* const kOnlineImage = L"DISM_{53BFAE52-B167-4E2F-A258-0A37B57FF845}";
const wchar_t* const kFolder = L"C:\\dism-standin\\";
constexpr DismSession kSession = 1;
constexpr HRESULT kNotInitialized = static_cast<HRESULT>(0xC0040001);
constexpr HRESULT kInvalidSession = static_cast<HRESULT>(0xC0040004);

bool g_initialized = false;

void MarkUninstallPending(const wchar_t* package) {
    const std::wstring path = std::wstring(
                                  L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based "
                                  L"Servicing\\Packages\\") +
                              package;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return;
    const DWORD pending = 0x05;
    RegSetValueExW(key, L"CurrentState", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&pending),
                   sizeof(pending));
    RegCloseKey(key);
}
thread_local HRESULT t_lastFailure = S_OK;

std::wstring Path(const wchar_t* name) {
    return std::wstring(kFolder) + name;
}

bool Exists(const wchar_t* name) {
    return GetFileAttributesW(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadText(const wchar_t* name) {
    FILE* file = _wfopen(Path(name).c_str(), L"rb");
    if (file == nullptr) return {};
    char buffer[64] = {};
    const size_t read = fread(buffer, 1, sizeof(buffer) - 1, file);
    fclose(file);
    return std::string(buffer, read);
}

void AppendLine(const wchar_t* name, const std::wstring& line) {
    CreateDirectoryW(kFolder, nullptr);
    FILE* file = _wfopen(Path(name).c_str(), L"ab");
    if (file == nullptr) return;
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, &utf8[0], size, nullptr, nullptr);
    fprintf(file, "%s\n", utf8.c_str());
    fclose(file);
}

std::wstring Hex(HRESULT hr) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08X", static_cast<unsigned>(hr));
    return text;
}

HRESULT Log(const std::wstring& call, HRESULT hr) {
    AppendLine(L"calls.txt", call + L" -> " + Hex(hr));
    if (FAILED(hr)) t_lastFailure = hr;
    return hr;
}

HRESULT ChosenResult() {
    const std::string text = ReadText(L"result.txt");
    if (text.empty()) return S_OK;
    return static_cast<HRESULT>(std::strtoul(text.c_str(), nullptr, 16));
}

DWORD StepMilliseconds() {
    const std::string text = ReadText(L"step-ms.txt");
    return text.empty() ? 100 : static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
}

}  // namespace

extern "C" {

__declspec(dllexport) HRESULT WINAPI
    DismInitialize(int logLevel, PCWSTR logFilePath, PCWSTR scratchDirectory) {
    g_initialized = true;
    return Log(L"DismInitialize level=" + std::to_wstring(logLevel) +
                   (logFilePath ? L" log" : L" log=NULL") +
                   (scratchDirectory ? L" scratch" : L" scratch=NULL"),
               S_OK);
}

__declspec(dllexport) HRESULT WINAPI DismOpenSession(PCWSTR imagePath, PCWSTR windowsDirectory,
                                                     PCWSTR systemDrive, DismSession* session) {
    HRESULT hr = S_OK;
    if (!g_initialized)
        hr = kNotInitialized;
    else if (imagePath == nullptr || wcscmp(imagePath, kOnlineImage) != 0 ||
             windowsDirectory != nullptr || systemDrive != nullptr || session == nullptr)
        hr = E_INVALIDARG;
    if (session != nullptr) *session = SUCCEEDED(hr) ? kSession : 0;
    return Log(L"DismOpenSession " + std::wstring(imagePath ? imagePath : L"NULL"), hr);
}

__declspec(dllexport) HRESULT WINAPI
    DismRemovePackage(DismSession session, PCWSTR identifier, int identifierType,
                      HANDLE cancelEvent, DismProgressCallback progress, PVOID userData) {
    const std::wstring call =
        L"DismRemovePackage " + std::wstring(identifier ? identifier : L"NULL") + L" type=" +
        std::to_wstring(identifierType) + (cancelEvent ? L" cancel" : L" cancel=NULL");
    if (session != kSession) return Log(call, kInvalidSession);
    if (identifier == nullptr || identifierType != kDismPackageName) return Log(call, E_INVALIDARG);
    AppendLine(L"removed.txt", identifier);
    const DWORD step = StepMilliseconds();
    for (UINT current = 0; current <= 100; current += 10) {
        if (progress != nullptr) progress(current, 100, userData);
        while (current == 40 && Exists(L"hold.txt")) Sleep(50);
        if (current < 100) Sleep(step);
    }
    const HRESULT result = ChosenResult();
    // Removed, at once or at the restart (3010, also as an HRESULT).
    if (result == S_OK || result == 1 || result == 3010 ||
        result == static_cast<HRESULT>(0x80070BC2))
        MarkUninstallPending(identifier);
    return Log(call, result);
}

__declspec(dllexport) HRESULT WINAPI DismCloseSession(DismSession session) {
    return Log(L"DismCloseSession", session == kSession ? S_OK : kInvalidSession);
}

__declspec(dllexport) HRESULT WINAPI DismShutdown() {
    const HRESULT hr = g_initialized ? S_OK : kNotInitialized;
    g_initialized = false;
    return Log(L"DismShutdown", hr);
}

__declspec(dllexport) HRESULT WINAPI DismGetLastErrorMessage(DismString** message) {
    if (message == nullptr) return Log(L"DismGetLastErrorMessage", E_POINTER);
    *message = nullptr;
    if (t_lastFailure == S_OK) return Log(L"DismGetLastErrorMessage", S_FALSE);
    const std::wstring text =
        L"Stand-in servicing API: the removal ended with " + Hex(t_lastFailure) + L".";
    auto* value = new (std::nothrow) wchar_t[text.size() + 1];
    auto* string = new (std::nothrow) DismString{value};
    if (value == nullptr || string == nullptr) {
        delete[] value;
        delete string;
        return Log(L"DismGetLastErrorMessage", E_OUTOFMEMORY);
    }
    wcscpy(value, text.c_str());
    *message = string;
    return Log(L"DismGetLastErrorMessage", S_OK);
}

__declspec(dllexport) HRESULT WINAPI DismDelete(void* structure) {
    auto* string = static_cast<DismString*>(structure);
    if (string != nullptr) {
        delete[] string->Value;
        delete string;
    }
    return Log(L"DismDelete", S_OK);
}

}  // extern "C"
