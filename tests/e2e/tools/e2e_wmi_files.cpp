#include "e2e_wmi_files.h"

#include <cstdlib>
#include <cwchar>

#include "winapi/TextConversion.h"

namespace e2e_wmi {

const wchar_t* const kPropertyNames[3] = {L"HotFixID", L"Description", L"InstalledOn"};

namespace {

const wchar_t* const kListFile = L"C:\\e2e\\hotfixes.txt";
const wchar_t* const kFailFile = L"C:\\e2e\\wmi-fail.txt";
const wchar_t* const kSlowFile = L"C:\\e2e\\wmi-slow.txt";
const wchar_t* const kHoldFile = L"C:\\e2e\\wmi-hold";
const wchar_t* const kHeldFile = L"C:\\e2e\\wmi-held";
const wchar_t* const kReleaseFile = L"C:\\e2e\\wmi-release";
const wchar_t* const kCallsFile = L"C:\\e2e\\wmi-calls.txt";

SRWLOCK g_recordLock = SRWLOCK_INIT;

bool Exists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

bool ReadBytes(const wchar_t* path, std::string& bytes) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return true;
}

// UTF-16LE with its byte order mark, else UTF-8 (with or without one).
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

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> pieces;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::wstring::npos; start = end + 1) {
        pieces.push_back(text.substr(start, end - start));
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

Value ParseValue(const std::wstring& field) {
    if (field == L"<null>") return {Value::Kind::kNull, L""};
    if (field == L"<missing>") return {Value::Kind::kMissing, L""};
    return {Value::Kind::kText, field};
}

// The first line of a small control file, without its line end.
std::wstring FirstLine(const wchar_t* path) {
    std::string bytes;
    if (!ReadBytes(path, bytes)) return L"";
    std::wstring text = Decode(bytes);
    text = text.substr(0, text.find_first_of(L"\r\n"));
    return text;
}

}  // namespace

bool ServesList() {
    return Exists(kListFile);
}

bool ReadHotfixes(std::vector<Hotfix>& hotfixes, std::wstring& problem) {
    std::string bytes;
    if (!ReadBytes(kListFile, bytes)) {
        problem = L"cannot read hotfixes.txt";
        return false;
    }
    hotfixes.clear();
    const std::vector<std::wstring> lines = Split(Decode(bytes), L'\n');
    for (size_t number = 1; number <= lines.size(); ++number) {
        std::wstring line = lines[number - 1];
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (line.empty()) continue;
        const std::vector<std::wstring> fields = Split(line, L'\t');
        if (fields.size() != 3) {
            problem = L"hotfixes.txt line " + std::to_wstring(number) + L" has " +
                      std::to_wstring(fields.size()) + L" fields, not 3";
            return false;
        }
        hotfixes.push_back({ParseValue(fields[0]), ParseValue(fields[1]), ParseValue(fields[2])});
    }
    return true;
}

Failure FailureAt(const wchar_t* stage) {
    // "STAGE HRESULT [AFTER]", e.g. "ExecQuery 0x80041003" or "Next 0x80041001 2".
    const std::vector<std::wstring> words = Split(FirstLine(kFailFile), L' ');
    if (words.size() < 2 || _wcsicmp(words[0].c_str(), stage) != 0) return {};
    const unsigned long hr = std::wcstoul(words[1].c_str(), nullptr, 0);
    const unsigned long after = words.size() > 2 ? std::wcstoul(words[2].c_str(), nullptr, 10) : 0;
    return {static_cast<HRESULT>(hr), after};
}

DWORD SlowMs() {
    return static_cast<DWORD>(std::wcstoul(FirstLine(kSlowFile).c_str(), nullptr, 10));
}

void HoldIfAsked() {
    if (!Exists(kHoldFile)) return;
    HANDLE held = CreateFileW(kHeldFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    Record(L"held");
    for (int i = 0; i < 1200 && !Exists(kReleaseFile); ++i) {
        Sleep(50);
    }
    DeleteFileW(kHoldFile);
    DeleteFileW(kHeldFile);
    DeleteFileW(kReleaseFile);
    Record(L"released");
}

void Record(const std::wstring& line) {
    const std::string bytes = Strconv::WideToUtf8(line) + "\n";
    AcquireSRWLockExclusive(&g_recordLock);
    HANDLE file = CreateFileW(kCallsFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    ReleaseSRWLockExclusive(&g_recordLock);
}

std::wstring Hex(HRESULT hr) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

}  // namespace e2e_wmi
