// e2e_wua.dll: the Windows Update Agent as the end-to-end scenarios want it. A
// scenario registers it in its prefix as the in-process server of the
// UpdateSession class (tests/e2e/lib/standins.sh: e2e_wua_register); without
// it Wine's own wuapi.dll answers. It serves the calls WindowsUpdate_win.cpp
// makes from files in C:\e2e\, each read when its call comes:
//   wua-history.txt  the history, newest first: "DATE<tab>TITLE" a line, DATE
//                    an OLE date (45300.5 is 2024-01-08 12:00 UTC).
//   wua-offer.txt    what a search finds: "KB[,KB]<tab>FLAGS<tab>TITLE" a line,
//                    KBs digits only, FLAGS "-", "hidden", "mandatory" or both.
//                    As Windows, criteria without "IsHidden=1" find no hidden
//                    update, and with it but without "IsHidden=0" only hidden ones.
//                    A successful put_IsHidden rewrites the update's flag here.
//   wua-fail.txt     "STAGE HRESULT" lines: GetTotalHistoryCount (history),
//                    EndSearch (search) or put_IsHidden (hide) returns HRESULT.
//   wua-hold         "history" or "search": the next such call writes wua-held
//                    and waits until wua-release exists (a search also until
//                    RequestAbort), at most 120 s; then all three go.
//   wua-calls.txt    a line per call: "GetTotalHistoryCount -> 0x00000000
//                    count=3", "BeginSearch IsInstalled=0", "RequestAbort",
//                    "CleanUp", "all objects released", ...
//   wua-hidden.txt   every put_IsHidden call: "KB5034441 true -> 0x00000000".
// The COM objects are C-style (CINTERFACE): a vtable whose every slot answers
// E_NOTIMPL until this file fills it, so only the calls used are written out.
#define CINTERFACE
#include <windows.h>
// (first: the other Windows headers build on it)
#include <initguid.h>
// (defines the interface ids wuapi.h declares: mingw-w64 has no library of them)
#include <wuapi.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "e2e_wua_files.h"

namespace {

using e2e_wua::Hex;
using e2e_wua::Record;

constexpr CLSID kUpdateSession = {
    0x4cb43d7f, 0x7eee, 0x4906, {0x86, 0x98, 0x60, 0xda, 0x1c, 0x38, 0xf2, 0xfe}};
constexpr IID kSearchCompletedCallback = {
    0x88aee058, 0xd4b0, 0x4725, {0xa2, 0xf1, 0x81, 0x4a, 0x67, 0xae, 0x96, 0x4c}};
constexpr HRESULT kInvalidIndex = static_cast<HRESULT>(0x80240007);  // WU_E_INVALIDINDEX

LONG g_liveObjects = 0;
LONG g_serverLocks = 0;

// The head of every object: its interface pointer is its address.
struct Object {
    const void* vtable;
    const IID* iid;
    LONG refs = 1;
    void (*destroy)(Object*) = nullptr;
};

template <typename T>
T* New(const void* vtable, const IID& iid) {
    T* object = new (std::nothrow) T();
    if (object == nullptr) return nullptr;
    object->vtable = vtable;
    object->iid = &iid;
    object->destroy = [](Object* self) { delete static_cast<T*>(self); };
    InterlockedIncrement(&g_liveObjects);
    return object;
}

HRESULT STDMETHODCALLTYPE QueryInterface(Object* self, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, *self->iid)) {
        *out = self;
        InterlockedIncrement(&self->refs);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE AddRef(Object* self) {
    return InterlockedIncrement(&self->refs);
}

ULONG STDMETHODCALLTYPE Release(Object* self) {
    const LONG refs = InterlockedDecrement(&self->refs);
    if (refs == 0) {
        self->destroy(self);
        if (InterlockedDecrement(&g_liveObjects) == 0) Record(L"all objects released");
    }
    return static_cast<ULONG>(refs);
}

// Any call this stand-in does not serve (x64 has one calling convention, so
// one function fits every slot).
HRESULT STDMETHODCALLTYPE NotImplemented() {
    return E_NOTIMPL;
}

#define E2E_SLOT(table, slot, function) \
    (table).slot = reinterpret_cast<decltype((table).slot)>(function)

// A vtable with IUnknown filled in and every other slot answering E_NOTIMPL.
template <typename Vtbl>
Vtbl BaseTable() {
    Vtbl table;
    void** slots = reinterpret_cast<void**>(&table);
    for (size_t i = 0; i < sizeof(Vtbl) / sizeof(void*); ++i) {
        slots[i] = reinterpret_cast<void*>(&NotImplemented);
    }
    E2E_SLOT(table, QueryInterface, QueryInterface);
    E2E_SLOT(table, AddRef, AddRef);
    E2E_SLOT(table, Release, Release);
    return table;
}

BSTR Text(const std::wstring& text) {
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// --- IStringCollection: an update's KB article ids -------------------------

struct Strings : Object {
    std::vector<std::wstring> items;
};

HRESULT STDMETHODCALLTYPE StringsCount(Strings* self, LONG* count) {
    *count = static_cast<LONG>(self->items.size());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE StringsItem(Strings* self, LONG index, BSTR* item) {
    if (index < 0 || static_cast<size_t>(index) >= self->items.size()) return kInvalidIndex;
    *item = Text(self->items[static_cast<size_t>(index)]);
    return S_OK;
}

const IStringCollectionVtbl* StringsTable() {
    static const IStringCollectionVtbl table = [] {
        auto t = BaseTable<IStringCollectionVtbl>();
        E2E_SLOT(t, get_Count, StringsCount);
        E2E_SLOT(t, get_Item, StringsItem);
        return t;
    }();
    return &table;
}

// --- IUpdate ----------------------------------------------------------------

struct Update : Object {
    e2e_wua::Offered offered;
};

HRESULT STDMETHODCALLTYPE UpdateTitle(Update* self, BSTR* title) {
    *title = Text(self->offered.title);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE UpdateKbIds(Update* self, IStringCollection** ids) {
    Strings* strings = New<Strings>(StringsTable(), IID_IStringCollection);
    if (strings == nullptr) return E_OUTOFMEMORY;
    strings->items = self->offered.kbIds;
    *ids = reinterpret_cast<IStringCollection*>(strings);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE UpdateIsHidden(Update* self, VARIANT_BOOL* hidden) {
    *hidden = self->offered.hidden ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE UpdateIsMandatory(Update* self, VARIANT_BOOL* mandatory) {
    *mandatory = self->offered.mandatory ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE UpdatePutHidden(Update* self, VARIANT_BOOL value) {
    const bool hidden = value != VARIANT_FALSE;
    const HRESULT hr = e2e_wua::FailureAt(L"hide");
    const std::wstring kb = self->offered.kbIds.empty() ? L"" : self->offered.kbIds.front();
    if (hr == S_OK) {
        self->offered.hidden = hidden;
        e2e_wua::SetOfferedHidden(kb, hidden);
    }
    const std::wstring line = L"KB" + kb + (hidden ? L" true -> " : L" false -> ") + Hex(hr);
    e2e_wua::RecordHidden(line);
    Record(L"put_IsHidden " + line);
    return hr;
}

const IUpdateVtbl* UpdateTable() {
    static const IUpdateVtbl table = [] {
        auto t = BaseTable<IUpdateVtbl>();
        E2E_SLOT(t, get_Title, UpdateTitle);
        E2E_SLOT(t, get_KBArticleIDs, UpdateKbIds);
        E2E_SLOT(t, get_IsHidden, UpdateIsHidden);
        E2E_SLOT(t, put_IsHidden, UpdatePutHidden);
        E2E_SLOT(t, get_IsMandatory, UpdateIsMandatory);
        return t;
    }();
    return &table;
}

// --- IUpdateCollection and ISearchResult -----------------------------------

using OfferList = std::shared_ptr<const std::vector<e2e_wua::Offered>>;

struct Updates : Object {
    OfferList offer;
};

HRESULT STDMETHODCALLTYPE UpdatesCount(Updates* self, LONG* count) {
    *count = static_cast<LONG>(self->offer->size());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE UpdatesItem(Updates* self, LONG index, IUpdate** item) {
    if (index < 0 || static_cast<size_t>(index) >= self->offer->size()) return kInvalidIndex;
    Update* update = New<Update>(UpdateTable(), IID_IUpdate);
    if (update == nullptr) return E_OUTOFMEMORY;
    update->offered = (*self->offer)[static_cast<size_t>(index)];
    *item = reinterpret_cast<IUpdate*>(update);
    return S_OK;
}

const IUpdateCollectionVtbl* UpdatesTable() {
    static const IUpdateCollectionVtbl table = [] {
        auto t = BaseTable<IUpdateCollectionVtbl>();
        E2E_SLOT(t, get_Count, UpdatesCount);
        E2E_SLOT(t, get_Item, UpdatesItem);
        return t;
    }();
    return &table;
}

struct Result : Object {
    OfferList offer;
};

HRESULT STDMETHODCALLTYPE ResultCode(Result*, OperationResultCode* code) {
    *code = orcSucceeded;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ResultUpdates(Result* self, IUpdateCollection** updates) {
    Updates* collection = New<Updates>(UpdatesTable(), IID_IUpdateCollection);
    if (collection == nullptr) return E_OUTOFMEMORY;
    collection->offer = self->offer;
    *updates = reinterpret_cast<IUpdateCollection*>(collection);
    return S_OK;
}

const ISearchResultVtbl* ResultTable() {
    static const ISearchResultVtbl table = [] {
        auto t = BaseTable<ISearchResultVtbl>();
        E2E_SLOT(t, get_ResultCode, ResultCode);
        E2E_SLOT(t, get_Updates, ResultUpdates);
        return t;
    }();
    return &table;
}

// --- ISearchJob: the search runs on a thread of its own ---------------------

struct Job : Object {
    HANDLE abort = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    IUnknown* callback = nullptr;
    std::wstring criteria;
    bool aborted = false;  // written before `done` is set
    ~Job() {
        if (thread != nullptr) CloseHandle(thread);
        CloseHandle(abort);
        CloseHandle(done);
    }
};

using InvokeFn = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, ISearchJob*, IUnknown*);

DWORD WINAPI RunSearch(void* parameter) {
    Job* job = static_cast<Job*>(parameter);
    job->aborted = !e2e_wua::HoldIfAsked(L"search", job->abort) ||
                   WaitForSingleObject(job->abort, 0) == WAIT_OBJECT_0;
    SetEvent(job->done);
    // ISearchCompletedCallback::Invoke is the first method after IUnknown's three.
    IUnknown* callback = nullptr;
    if (SUCCEEDED(job->callback->lpVtbl->QueryInterface(job->callback, kSearchCompletedCallback,
                                                        reinterpret_cast<void**>(&callback)))) {
        auto invoke = reinterpret_cast<InvokeFn const*>(callback->lpVtbl)[3];
        invoke(callback, reinterpret_cast<ISearchJob*>(job), nullptr);
        callback->lpVtbl->Release(callback);
        Record(L"search completed callback");
    }
    Release(job);
    return 0;
}

HRESULT STDMETHODCALLTYPE JobIsCompleted(Job* self, VARIANT_BOOL* completed) {
    *completed = WaitForSingleObject(self->done, 0) == WAIT_OBJECT_0 ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE JobRequestAbort(Job* self) {
    Record(L"RequestAbort");
    SetEvent(self->abort);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE JobCleanUp(Job* self) {
    if (self->thread != nullptr) WaitForSingleObject(self->thread, INFINITE);
    if (self->callback != nullptr) {
        self->callback->lpVtbl->Release(self->callback);
        self->callback = nullptr;
    }
    Record(L"CleanUp");
    return S_OK;
}

const ISearchJobVtbl* JobTable() {
    static const ISearchJobVtbl table = [] {
        auto t = BaseTable<ISearchJobVtbl>();
        E2E_SLOT(t, get_IsCompleted, JobIsCompleted);
        E2E_SLOT(t, RequestAbort, JobRequestAbort);
        E2E_SLOT(t, CleanUp, JobCleanUp);
        return t;
    }();
    return &table;
}

// --- IUpdateHistoryEntry and its collection ---------------------------------

using HistoryList = std::shared_ptr<const std::vector<e2e_wua::HistoryEntry>>;

struct Entry : Object {
    e2e_wua::HistoryEntry entry;
};

HRESULT STDMETHODCALLTYPE EntryTitle(Entry* self, BSTR* title) {
    *title = Text(self->entry.title);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EntryDate(Entry* self, DATE* date) {
    *date = self->entry.date;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EntryOperation(Entry*, UpdateOperation* operation) {
    *operation = uoInstallation;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EntryResultCode(Entry*, OperationResultCode* code) {
    *code = orcSucceeded;
    return S_OK;
}

const IUpdateHistoryEntryVtbl* EntryTable() {
    static const IUpdateHistoryEntryVtbl table = [] {
        auto t = BaseTable<IUpdateHistoryEntryVtbl>();
        E2E_SLOT(t, get_Title, EntryTitle);
        E2E_SLOT(t, get_Date, EntryDate);
        E2E_SLOT(t, get_Operation, EntryOperation);
        E2E_SLOT(t, get_ResultCode, EntryResultCode);
        return t;
    }();
    return &table;
}

struct Entries : Object {
    HistoryList history;
    size_t start = 0;
    size_t count = 0;
};

HRESULT STDMETHODCALLTYPE EntriesCount(Entries* self, LONG* count) {
    *count = static_cast<LONG>(self->count);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EntriesItem(Entries* self, LONG index, IUpdateHistoryEntry** item) {
    if (index < 0 || static_cast<size_t>(index) >= self->count) return kInvalidIndex;
    Entry* entry = New<Entry>(EntryTable(), IID_IUpdateHistoryEntry);
    if (entry == nullptr) return E_OUTOFMEMORY;
    entry->entry = (*self->history)[self->start + static_cast<size_t>(index)];
    *item = reinterpret_cast<IUpdateHistoryEntry*>(entry);
    return S_OK;
}

const IUpdateHistoryEntryCollectionVtbl* EntriesTable() {
    static const IUpdateHistoryEntryCollectionVtbl table = [] {
        auto t = BaseTable<IUpdateHistoryEntryCollectionVtbl>();
        E2E_SLOT(t, get_Count, EntriesCount);
        E2E_SLOT(t, get_Item, EntriesItem);
        return t;
    }();
    return &table;
}

// --- IUpdateSearcher and IUpdateSession -------------------------------------

struct Searcher : Object {};

HRESULT STDMETHODCALLTYPE ClientId(Object*, BSTR id) {
    Record(L"put_ClientApplicationID " + std::wstring(id != nullptr ? id : L"(null)"));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HistoryCount(Searcher*, LONG* count) {
    e2e_wua::HoldIfAsked(L"history", nullptr);
    const HRESULT hr = e2e_wua::FailureAt(L"history");
    *count = hr == S_OK ? static_cast<LONG>(e2e_wua::ReadHistory().size()) : 0;
    Record(L"GetTotalHistoryCount -> " + Hex(hr) + L" count=" + std::to_wstring(*count));
    return hr;
}

HRESULT STDMETHODCALLTYPE QueryHistory(Searcher*, LONG start, LONG count,
                                       IUpdateHistoryEntryCollection** entries) {
    auto history =
        std::make_shared<const std::vector<e2e_wua::HistoryEntry>>(e2e_wua::ReadHistory());
    // As Windows does: a count of 0, or a range past the end, is an invalid index.
    HRESULT hr = S_OK;
    if (start < 0 || count <= 0 || static_cast<size_t>(start) + count > history->size()) {
        hr = kInvalidIndex;
    }
    Record(L"QueryHistory " + std::to_wstring(start) + L" " + std::to_wstring(count) + L" -> " +
           Hex(hr));
    if (hr != S_OK) return hr;
    Entries* collection = New<Entries>(EntriesTable(), IID_IUpdateHistoryEntryCollection);
    if (collection == nullptr) return E_OUTOFMEMORY;
    collection->history = history;
    collection->start = static_cast<size_t>(start);
    collection->count = static_cast<size_t>(count);
    *entries = reinterpret_cast<IUpdateHistoryEntryCollection*>(collection);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BeginSearch(Searcher*, BSTR criteria, IUnknown* callback, VARIANT,
                                      ISearchJob** out) {
    Record(L"BeginSearch " + std::wstring(criteria != nullptr ? criteria : L"(null)"));
    if (callback == nullptr || out == nullptr) return E_POINTER;
    Job* job = New<Job>(JobTable(), IID_ISearchJob);
    if (job == nullptr) return E_OUTOFMEMORY;
    callback->lpVtbl->AddRef(callback);
    job->callback = callback;
    job->criteria = criteria != nullptr ? criteria : L"";
    AddRef(job);  // the search thread's
    job->thread = CreateThread(nullptr, 0, RunSearch, job, 0, nullptr);
    if (job->thread == nullptr) {
        Release(job);
        Release(job);
        return HRESULT_FROM_WIN32(GetLastError());
    }
    *out = reinterpret_cast<ISearchJob*>(job);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EndSearch(Searcher*, ISearchJob* searchJob, ISearchResult** result) {
    if (searchJob == nullptr || result == nullptr) return E_POINTER;
    Job* job = reinterpret_cast<Job*>(searchJob);
    WaitForSingleObject(job->done, INFINITE);
    HRESULT hr = job->aborted ? E_ABORT : e2e_wua::FailureAt(L"search");
    Result* found = nullptr;
    if (hr == S_OK) {
        found = New<Result>(ResultTable(), IID_ISearchResult);
        if (found == nullptr) hr = E_OUTOFMEMORY;
    }
    Record(L"EndSearch -> " + Hex(hr));
    if (hr != S_OK) return hr;
    found->offer =
        std::make_shared<const std::vector<e2e_wua::Offered>>(e2e_wua::OfferFor(job->criteria));
    *result = reinterpret_cast<ISearchResult*>(found);
    return S_OK;
}

const IUpdateSearcherVtbl* SearcherTable() {
    static const IUpdateSearcherVtbl table = [] {
        auto t = BaseTable<IUpdateSearcherVtbl>();
        E2E_SLOT(t, put_ClientApplicationID, ClientId);
        E2E_SLOT(t, GetTotalHistoryCount, HistoryCount);
        E2E_SLOT(t, QueryHistory, QueryHistory);
        E2E_SLOT(t, BeginSearch, BeginSearch);
        E2E_SLOT(t, EndSearch, EndSearch);
        return t;
    }();
    return &table;
}

struct Session : Object {};

HRESULT STDMETHODCALLTYPE CreateSearcher(Session*, IUpdateSearcher** searcher) {
    Searcher* created = New<Searcher>(SearcherTable(), IID_IUpdateSearcher);
    if (created == nullptr) return E_OUTOFMEMORY;
    *searcher = reinterpret_cast<IUpdateSearcher*>(created);
    return S_OK;
}

const IUpdateSessionVtbl* SessionTable() {
    static const IUpdateSessionVtbl table = [] {
        auto t = BaseTable<IUpdateSessionVtbl>();
        E2E_SLOT(t, put_ClientApplicationID, ClientId);
        E2E_SLOT(t, CreateUpdateSearcher, CreateSearcher);
        return t;
    }();
    return &table;
}

// --- the class factory ------------------------------------------------------

struct Factory : Object {};

HRESULT STDMETHODCALLTYPE CreateInstance(Factory*, IUnknown* outer, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    Session* session = New<Session>(SessionTable(), IID_IUpdateSession);
    if (session == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = QueryInterface(session, iid, out);
    Release(session);
    Record(L"CreateInstance -> " + Hex(hr));
    return hr;
}

HRESULT STDMETHODCALLTYPE LockServer(Factory*, BOOL lock) {
    if (lock) {
        InterlockedIncrement(&g_serverLocks);
    } else {
        InterlockedDecrement(&g_serverLocks);
    }
    return S_OK;
}

const IClassFactoryVtbl* FactoryTable() {
    static const IClassFactoryVtbl table = [] {
        auto t = BaseTable<IClassFactoryVtbl>();
        E2E_SLOT(t, CreateInstance, CreateInstance);
        E2E_SLOT(t, LockServer, LockServer);
        return t;
    }();
    return &table;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, kUpdateSession)) return CLASS_E_CLASSNOTAVAILABLE;
    Factory* factory = New<Factory>(FactoryTable(), IID_IClassFactory);
    if (factory == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = QueryInterface(factory, iid, object);
    Release(factory);
    return hr;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() {
    return InterlockedCompareExchange(&g_liveObjects, 0, 0) == 0 &&
                   InterlockedCompareExchange(&g_serverLocks, 0, 0) == 0
               ? S_OK
               : S_FALSE;
}
