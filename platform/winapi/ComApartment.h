// COM on the calling thread while this object lives. The shell's ShellExecute
// calls may hand their work to shell extensions, which are COM objects, so
// their thread needs COM: an apartment-threaded one without OLE1 DDE, as
// Windows asks. A thread that already runs COM in the other mode keeps it
// (RPC_E_CHANGED_MODE: COM is usable all the same); only an initialisation
// made here is undone, so every thread's calls stay balanced.
// ComApartment_win.cpp calls COM; ComApartment_posix.cpp stands in for it
// (ComApartmentTesting.h).
#pragma once

namespace WinApi {

class ComApartment {
public:
    enum Threading { kApartmentThreaded, kMultithreaded };

    explicit ComApartment(Threading threading = kApartmentThreaded);
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // COM can be used on this thread, initialised here or before.
    bool IsReady() const;
    // The HRESULT of the initialisation, for the log when it failed.
    long Result() const { return m_result; }

private:
    long m_result;
};

}  // namespace WinApi
