// Headless backend: the calls of UIWindowApi.h, acting on the headless windows (UI thread).
#include <unistd.h>

#include "duilib/UIBackend.h"
#include "duilib/UIWindowApi.h"
#include "duilib_headless/HeadlessInternal.h"

namespace DuiLib {
namespace WindowApi {

using DuiLib::Headless::Internal::HeadlessWindow;
using DuiLib::Headless::Internal::Lookup;
using DuiLib::Headless::Internal::Registry;

namespace {

// FALSE for a handle that names no window, as the Windows calls answer.
template <class Act>
BOOL OnWindow(HWND window, Act act) {
    HeadlessWindow* w = Lookup(window);
    if (!w) return FALSE;
    act(*w);
    return TRUE;
}

}  // namespace

HWND FindWindowW(const wchar_t* className, const wchar_t* title) {
    for (HeadlessWindow* w : Registry()) {
        const auto& s = w->State();
        if (className && s.className != className) continue;
        if (title && s.title != title) continue;
        return s.hwnd;
    }
    return nullptr;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HeadlessWindow* w = Lookup(window);
    return w ? w->Send(message, wParam, lParam) : 0;
}

LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT) {
    HeadlessWindow* w = Lookup(window);
    if (!w) return 0;
    w->Send(message, wParam, lParam);
    return 1;
}

uint32_t GetWindowProcessId(HWND window) {
    return Lookup(window) ? static_cast<uint32_t>(getpid()) : 0;  // every window is this process's
}

BOOL SetForegroundWindow(HWND window) {
    return OnWindow(window, [](HeadlessWindow& w) { w.SetForeground(); });
}

BOOL SetWindowTextW(HWND window, const wchar_t* text) {
    return OnWindow(window, [text](HeadlessWindow& w) { w.SetTitle(text ? text : L""); });
}

void PostQuitMessage(int exitCode) {
    DuiLib::Backend::PostQuit(exitCode);
}

BOOL ShutdownBlockReasonCreate(HWND window, const wchar_t* reason) {
    return OnWindow(
        window, [reason](HeadlessWindow& w) { w.SetShutdownBlockReason(reason ? reason : L""); });
}

BOOL ShutdownBlockReasonDestroy(HWND window) {
    return OnWindow(window, [](HeadlessWindow& w) { w.SetShutdownBlockReason(L""); });
}

}  // namespace WindowApi
}  // namespace DuiLib
