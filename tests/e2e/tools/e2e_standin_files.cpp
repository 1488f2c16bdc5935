#include "e2e_standin_files.h"

#include <cwchar>

#include "winapi/TextConversion.h"

namespace e2e_files {
namespace {

SRWLOCK g_appendLock = SRWLOCK_INIT;

}  // namespace

bool Exists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

bool ReadBytes(const wchar_t* path, std::string& bytes) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[8192];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return true;
}

std::wstring Decode(const std::string& bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        std::wstring text((bytes.size() - 2) / 2, L'\0');
        for (size_t i = 0; i < text.size(); ++i) {
            text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                           static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
        }
        return text;
    }
    const bool bom = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
    return Strconv::Utf8ToWide(bom ? bytes.substr(3) : bytes);
}

std::vector<std::wstring> Lines(const wchar_t* path) {
    std::vector<std::wstring> lines;
    std::string bytes;
    if (!ReadBytes(path, bytes)) return lines;
    for (std::wstring line : Split(Decode(bytes), L'\n')) {
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> pieces;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::wstring::npos; start = end + 1) {
        pieces.push_back(text.substr(start, end - start));
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

void Touch(const wchar_t* path) {
    HANDLE file =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void Append(const wchar_t* path, const std::wstring& line) {
    const std::string bytes = Strconv::WideToUtf8(line) + "\n";
    AcquireSRWLockExclusive(&g_appendLock);
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    ReleaseSRWLockExclusive(&g_appendLock);
}

std::wstring Hex(HRESULT hr) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

SteeringFiles::SteeringFiles(const wchar_t* stem) : name(stem) {}

std::wstring SteeringFiles::Named(const wchar_t* what) const {
    return L"C:\\e2e\\" + name + L"-" + what;
}

bool WaitForRelease(const SteeringFiles& files, const std::wstring& heldLine, DWORD ms,
                    HANDLE stop) {
    Touch(files.held.c_str());
    Append(files.calls.c_str(), heldLine);
    bool released = false;
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (Exists(files.release.c_str())) {
            released = true;
            break;
        }
        if (stop == nullptr) {
            Sleep(50);
        } else if (WaitForSingleObject(stop, 50) == WAIT_OBJECT_0) {
            break;
        }
    }
    DeleteFileW(files.held.c_str());
    DeleteFileW(files.release.c_str());
    return released;
}

}  // namespace e2e_files
