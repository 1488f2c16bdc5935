#include "e2e_wmi_files.h"

#include <cstdlib>

namespace e2e_wmi {

using namespace e2e_files;

const wchar_t* const kPropertyNames[3] = {L"HotFixID", L"Description", L"InstalledOn"};

namespace {

const wchar_t* const kListFile = L"C:\\e2e\\hotfixes.txt";
const SteeringFiles kFiles(L"wmi");

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
    const std::vector<std::wstring> words = Split(FirstLine(kFiles.fail.c_str()), L' ');
    if (words.size() < 2 || _wcsicmp(words[0].c_str(), stage) != 0) return {};
    const unsigned long hr = std::wcstoul(words[1].c_str(), nullptr, 0);
    const unsigned long after = words.size() > 2 ? std::wcstoul(words[2].c_str(), nullptr, 10) : 0;
    return {static_cast<HRESULT>(hr), after};
}

DWORD SlowMs() {
    return static_cast<DWORD>(
        std::wcstoul(FirstLine(kFiles.Named(L"slow.txt").c_str()).c_str(), nullptr, 10));
}

void HoldIfAsked() {
    if (!Exists(kFiles.hold.c_str())) return;
    WaitForRelease(kFiles, L"held", 60000, nullptr);
    DeleteFileW(kFiles.hold.c_str());
    Record(L"released");
}

void Record(const std::wstring& line) {
    Append(kFiles.calls.c_str(), line);
}

}  // namespace e2e_wmi
