// Windows Update through the Windows Update Agent API, as far as this program
// uses it: the history's titles, one search of the updates Windows Update
// offers, and an offered update's hidden flag. Every call runs on a worker
// thread that has joined the multithreaded apartment (ComApartment), never on
// the UI thread, and returns the HRESULT Windows gives (0 when it succeeded).
// WindowsUpdate_win.cpp calls wuapi through COM (CLSID_UpdateSession, a
// client application id); WindowsUpdate_posix.cpp is a recording stand-in
// (WindowsUpdateTesting.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace WinApi {

// HRESULTs the program tells apart.
constexpr uint32_t kWuNoHistory = 0x80240007;        // WU_E_INVALIDINDEX: QueryHistory with none
constexpr uint32_t kWuServiceDisabled = 0x80070422;  // the Windows Update service is turned off
constexpr uint32_t kWuSearchAborted = 0x80004004;    // E_ABORT: the search was asked to stop

struct UpdateHistoryEntry {
    std::wstring title;  // IUpdateHistoryEntry::Title, as Windows wrote it
    double date = 0;     // IUpdateHistoryEntry::Date (an OLE DATE, UTC)
};

// IUpdateSearcher::GetTotalHistoryCount, then QueryHistory(0, count) when the
// count is above 0; `entries` is empty when there is no history.
uint32_t ReadUpdateHistory(std::vector<UpdateHistoryEntry>* entries);

struct OfferedUpdate {
    std::wstring title;                      // IUpdate::Title
    std::vector<std::wstring> kbArticleIds;  // IUpdate::KBArticleIDs: "5034441", digits only
    bool hidden = false;                     // IUpdate::IsHidden
    bool mandatory = false;                  // IUpdate::IsMandatory: hiding it fails
};

// One search and what it found. Run, SetHidden and the destructor belong to
// the worker thread that made the object; Abort may come from any thread.
class UpdateSearch {
public:
    UpdateSearch();
    ~UpdateSearch();
    UpdateSearch(const UpdateSearch&) = delete;
    UpdateSearch& operator=(const UpdateSearch&) = delete;

    // BeginSearch(criteria) and EndSearch; blocks until the search ends or is
    // aborted (then kWuSearchAborted, and nothing is left running). `updates`
    // keeps the search's order. Criteria that do not name IsHidden find only
    // updates that are not hidden (Windows' default is "IsInstalled=0 and
    // IsHidden=0"); hidden and not: "IsInstalled=0 and IsHidden=0 or
    // IsInstalled=0 and IsHidden=1".
    uint32_t Run(const std::wstring& criteria, std::vector<OfferedUpdate>* updates);
    // ISearchJob::RequestAbort of the running search (before Run: Run aborts at once).
    void Abort();
    // IUpdate::put_IsHidden of the index-th update Run found. Windows refuses a
    // mandatory update with an error it does not document: check `mandatory` first.
    uint32_t SetHidden(size_t index, bool hidden);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace WinApi
