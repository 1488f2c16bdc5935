#include "e2e_wua_files.h"

#include <cstdlib>
#include <cwchar>

#include "winapi/TextConversion.h"

namespace e2e_wua {

using namespace e2e_files;

namespace {

const SteeringFiles kFiles(L"wua");
const std::wstring kHistoryFile = kFiles.Named(L"history.txt");
const std::wstring kOfferFile = kFiles.Named(L"offer.txt");
const std::wstring kHiddenFile = kFiles.Named(L"hidden.txt");

}  // namespace

std::vector<HistoryEntry> ReadHistory() {
    // "DATE<tab>TITLE": DATE an OLE date (days since 1899-12-30), e.g. 45300.5.
    std::vector<HistoryEntry> entries;
    for (const std::wstring& line : Lines(kHistoryFile.c_str())) {
        const size_t tab = line.find(L'\t');
        if (tab == std::wstring::npos) continue;
        entries.push_back({std::wcstod(line.c_str(), nullptr), line.substr(tab + 1)});
    }
    return entries;
}

std::vector<Offered> ReadOffer() {
    // "KB[,KB...]<tab>FLAGS<tab>TITLE": KBs digits only, FLAGS "-" or "hidden", "mandatory", both.
    std::vector<Offered> offer;
    for (const std::wstring& line : Lines(kOfferFile.c_str())) {
        const std::vector<std::wstring> fields = Split(line, L'\t');
        if (fields.size() != 3) continue;
        Offered update;
        for (const std::wstring& id : Split(fields[0], L',')) {
            if (!id.empty()) update.kbIds.push_back(id);
        }
        update.hidden = fields[1].find(L"hidden") != std::wstring::npos;
        update.mandatory = fields[1].find(L"mandatory") != std::wstring::npos;
        update.title = fields[2];
        offer.push_back(update);
    }
    return offer;
}

std::vector<Offered> OfferFor(const std::wstring& criteria) {
    std::wstring compact;
    for (wchar_t c : criteria) {
        if (c != L' ') compact += c;
    }
    const bool hidden = compact.find(L"IsHidden=1") != std::wstring::npos;
    const bool shown = !hidden || compact.find(L"IsHidden=0") != std::wstring::npos;
    std::vector<Offered> found;
    for (const Offered& update : ReadOffer()) {
        if (update.hidden ? hidden : shown) found.push_back(update);
    }
    return found;
}

void SetOfferedHidden(const std::wstring& kb, bool hidden) {
    std::wstring text;
    for (const Offered& update : ReadOffer()) {
        const bool match = !update.kbIds.empty() && update.kbIds.front() == kb;
        const bool flag = match ? hidden : update.hidden;
        std::wstring ids;
        for (const std::wstring& id : update.kbIds) ids += (ids.empty() ? L"" : L",") + id;
        std::wstring flags = flag ? L"hidden" : L"";
        if (update.mandatory) flags += flags.empty() ? L"mandatory" : L",mandatory";
        text += ids + L"\t" + (flags.empty() ? L"-" : flags) + L"\t" + update.title + L"\n";
    }
    const std::string bytes = Strconv::WideToUtf8(text);
    const std::wstring fresh = kOfferFile + L".new";
    HANDLE file = CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileExW(fresh.c_str(), kOfferFile.c_str(), MOVEFILE_REPLACE_EXISTING);
}

HRESULT FailureAt(const wchar_t* stage) {
    // One "STAGE HRESULT" a line, e.g. "search 0x80070422".
    for (const std::wstring& line : Lines(kFiles.fail.c_str())) {
        const std::vector<std::wstring> words = Split(line, L' ');
        if (words.size() >= 2 && _wcsicmp(words[0].c_str(), stage) == 0) {
            return static_cast<HRESULT>(std::wcstoul(words[1].c_str(), nullptr, 0));
        }
    }
    return S_OK;
}

bool HoldIfAsked(const wchar_t* stage, HANDLE stop) {
    const std::vector<std::wstring> asked = Lines(kFiles.hold.c_str());
    if (asked.empty() || _wcsicmp(asked.front().c_str(), stage) != 0) return true;
    DeleteFileW(kFiles.hold.c_str());
    const bool released = WaitForRelease(kFiles, std::wstring(L"held ") + stage, 120000, stop);
    Record(released ? L"released" : L"hold ended by RequestAbort");
    return released || stop == nullptr || WaitForSingleObject(stop, 0) != WAIT_OBJECT_0;
}

void Record(const std::wstring& line) {
    Append(kFiles.calls.c_str(), line);
}

void RecordHidden(const std::wstring& line) {
    Append(kHiddenFile.c_str(), line);
}

}  // namespace e2e_wua
