// Windows Update through the Windows Update Agent API (wuapi.dll, reached
// through COM: nothing to link beyond ole32 and oleaut32). The session is an
// in-process server registered under HKLM; an elevated process only ever gets
// the machine-wide registration (COM ignores per-user class registrations for
// it), so a user cannot put a class of their own in its place.
#include <windows.h>
// (first: the other Windows headers build on it)
#include <wuapi.h>

#include "winapi/ComObjects_win.h"
#include "winapi/WindowsUpdate.h"

namespace WinApi {
namespace {

// mingw-w64's wuapi.h declares the classes' GUIDs without defining them, and
// leaves out the search's completion callback altogether.
constexpr CLSID kUpdateSession = {
    0x4cb43d7f, 0x7eee, 0x4906, {0x86, 0x98, 0x60, 0xda, 0x1c, 0x38, 0xf2, 0xfe}};
constexpr IID kSearchCompletedCallback = {
    0x88aee058, 0xd4b0, 0x4725, {0xa2, 0xf1, 0x81, 0x4a, 0x67, 0xae, 0x96, 0x4c}};

// ISearchCompletedCallback as Windows calls it: Invoke(ISearchJob*, ISearchCompletedCallbackArgs*).
struct ISearchCompletedCallback : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ISearchJob* job, IUnknown* args) = 0;
};

const wchar_t kClientApplicationId[] = L"OrvelleEx";

uint32_t Code(HRESULT hr) {
    return static_cast<uint32_t>(hr);
}

// Signals its event when Windows Update says the search is over; Windows calls
// it on a thread of its own.
class SearchDone final : public ISearchCompletedCallback {
public:
    SearchDone() : m_event(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    SearchDone(const SearchDone&) = delete;
    SearchDone& operator=(const SearchDone&) = delete;

    HANDLE Event() const { return m_event; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kSearchCompletedCallback)) {
            *out = static_cast<ISearchCompletedCallback*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }
    HRESULT STDMETHODCALLTYPE Invoke(ISearchJob*, IUnknown*) override {
        ::SetEvent(m_event);
        return S_OK;
    }

private:
    ~SearchDone() {
        if (m_event != nullptr) ::CloseHandle(m_event);
    }

    LONG m_refs = 1;
    HANDLE m_event;
};

// A session with this program's client id and its searcher.
HRESULT OpenSearcher(ComRef<IUpdateSearcher>* searcher) {
    ComRef<IUpdateSession> session;
    HRESULT hr = ::CoCreateInstance(kUpdateSession, nullptr, CLSCTX_INPROC_SERVER,
                                    __uuidof(IUpdateSession), session.outVoid());
    if (FAILED(hr)) return hr;
    const Bstr clientId(kClientApplicationId);
    hr = session->put_ClientApplicationID(clientId.get());
    if (FAILED(hr)) return hr;
    return session->CreateUpdateSearcher(searcher->out());
}

std::wstring TakeText(BSTR text) {
    std::wstring taken = text != nullptr ? std::wstring(text, ::SysStringLen(text)) : L"";
    ::SysFreeString(text);
    return taken;
}

HRESULT ReadEntries(IUpdateHistoryEntryCollection* collection,
                    std::vector<UpdateHistoryEntry>* entries) {
    LONG count = 0;
    HRESULT hr = collection->get_Count(&count);
    if (FAILED(hr)) return hr;
    entries->reserve(static_cast<size_t>(count));
    for (LONG i = 0; i < count; ++i) {
        ComRef<IUpdateHistoryEntry> item;
        hr = collection->get_Item(i, item.out());
        if (FAILED(hr)) return hr;
        UpdateHistoryEntry entry;
        BSTR title = nullptr;
        if (SUCCEEDED(item->get_Title(&title))) entry.title = TakeText(title);
        DATE date = 0;
        if (SUCCEEDED(item->get_Date(&date))) entry.date = date;
        entries->push_back(std::move(entry));
    }
    return S_OK;
}

HRESULT ReadKbIds(IUpdate* update, std::vector<std::wstring>* ids) {
    ComRef<IStringCollection> collection;
    HRESULT hr = update->get_KBArticleIDs(collection.out());
    if (FAILED(hr)) return hr;
    LONG count = 0;
    hr = collection->get_Count(&count);
    if (FAILED(hr)) return hr;
    for (LONG i = 0; i < count; ++i) {
        BSTR id = nullptr;
        hr = collection->get_Item(i, &id);
        if (FAILED(hr)) return hr;
        ids->push_back(TakeText(id));
    }
    return S_OK;
}

HRESULT ReadUpdate(IUpdate* update, OfferedUpdate* offered) {
    BSTR title = nullptr;
    HRESULT hr = update->get_Title(&title);
    if (FAILED(hr)) return hr;
    offered->title = TakeText(title);
    hr = ReadKbIds(update, &offered->kbArticleIds);
    if (FAILED(hr)) return hr;
    VARIANT_BOOL flag = VARIANT_FALSE;
    if (SUCCEEDED(update->get_IsHidden(&flag))) offered->hidden = flag != VARIANT_FALSE;
    flag = VARIANT_FALSE;
    if (SUCCEEDED(update->get_IsMandatory(&flag))) offered->mandatory = flag != VARIANT_FALSE;
    return S_OK;
}

}  // namespace

uint32_t ReadUpdateHistory(std::vector<UpdateHistoryEntry>* entries) {
    entries->clear();
    ComRef<IUpdateSearcher> searcher;
    HRESULT hr = OpenSearcher(&searcher);
    if (FAILED(hr)) return Code(hr);
    LONG count = 0;
    hr = searcher->GetTotalHistoryCount(&count);
    if (FAILED(hr)) return Code(hr);
    // QueryHistory with a count of 0 fails (WU_E_INVALIDINDEX): no history is no error.
    if (count <= 0) return 0;
    ComRef<IUpdateHistoryEntryCollection> collection;
    hr = searcher->QueryHistory(0, count, collection.out());
    if (FAILED(hr)) return Code(hr);
    hr = ReadEntries(collection.get(), entries);
    if (FAILED(hr)) entries->clear();
    return FAILED(hr) ? Code(hr) : 0;
}

struct UpdateSearch::Impl {
    // Set by Abort from any thread; only Run's thread talks to the search job.
    HANDLE abortRequested = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    IUpdateCollection* found = nullptr;  // what the last Run found, for SetHidden

    ~Impl() {
        if (found != nullptr) found->Release();
        if (abortRequested != nullptr) ::CloseHandle(abortRequested);
    }
    void Keep(IUpdateCollection* updates) {
        updates->AddRef();
        if (found != nullptr) found->Release();
        found = updates;
    }
};

UpdateSearch::UpdateSearch() : m_impl(new Impl) {}
UpdateSearch::~UpdateSearch() = default;

uint32_t UpdateSearch::Run(const std::wstring& criteria, std::vector<OfferedUpdate>* updates) {
    updates->clear();
    if (m_impl->abortRequested == nullptr) return Code(HRESULT_FROM_WIN32(::GetLastError()));
    if (::WaitForSingleObject(m_impl->abortRequested, 0) == WAIT_OBJECT_0) return kWuSearchAborted;
    ComRef<IUpdateSearcher> searcher;
    HRESULT hr = OpenSearcher(&searcher);
    if (FAILED(hr)) return Code(hr);

    SearchDone* done = new SearchDone();
    if (done->Event() == nullptr) {
        done->Release();
        return Code(HRESULT_FROM_WIN32(::GetLastError()));
    }
    const Bstr text(criteria);
    VARIANT state;
    ::VariantInit(&state);
    ComRef<ISearchJob> job;
    hr = searcher->BeginSearch(text.get(), done, state, job.out());
    if (FAILED(hr)) {
        done->Release();
        return Code(hr);
    }
    const HANDLE waits[] = {done->Event(), m_impl->abortRequested};
    const DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    const bool aborted = woke != WAIT_OBJECT_0;
    if (aborted) {
        job->RequestAbort();
        ::WaitForSingleObject(done->Event(), INFINITE);
    }
    ComRef<ISearchResult> result;
    hr = searcher->EndSearch(job.get(), result.out());
    // CleanUp waits for the job and lets go of the callback: nothing stays running.
    job->CleanUp();
    done->Release();
    if (aborted) return kWuSearchAborted;
    if (FAILED(hr)) return Code(hr);

    ComRef<IUpdateCollection> collection;
    hr = result->get_Updates(collection.out());
    if (FAILED(hr)) return Code(hr);
    LONG count = 0;
    hr = collection->get_Count(&count);
    if (FAILED(hr)) return Code(hr);
    std::vector<OfferedUpdate> offered(static_cast<size_t>(count));
    for (LONG i = 0; i < count; ++i) {
        ComRef<IUpdate> update;
        hr = collection->get_Item(i, update.out());
        if (SUCCEEDED(hr)) hr = ReadUpdate(update.get(), &offered[static_cast<size_t>(i)]);
        if (FAILED(hr)) return Code(hr);
    }
    m_impl->Keep(collection.get());
    *updates = std::move(offered);
    return 0;
}

void UpdateSearch::Abort() {
    if (m_impl->abortRequested != nullptr) ::SetEvent(m_impl->abortRequested);
}

uint32_t UpdateSearch::SetHidden(size_t index, bool hidden) {
    if (m_impl->found == nullptr) return Code(E_INVALIDARG);
    LONG count = 0;
    HRESULT hr = m_impl->found->get_Count(&count);
    if (FAILED(hr)) return Code(hr);
    if (index >= static_cast<size_t>(count)) return Code(E_INVALIDARG);
    ComRef<IUpdate> update;
    hr = m_impl->found->get_Item(static_cast<LONG>(index), update.out());
    if (FAILED(hr)) return Code(hr);
    // Windows refuses to hide a mandatory update with an error of its own.
    return Code(update->put_IsHidden(hidden ? VARIANT_TRUE : VARIANT_FALSE));
}

}  // namespace WinApi
