// The Win32 backend's clipboard: a copy puts Unicode text on it, owned by the window.
#include <windows.h>
// (first: the other Windows headers build on it)
#include <cstring>

#include "duilib_win32/Win32Window.h"
#include "support/KtLogger.h"

namespace DuiLib {

bool Win32WindowBackend::CopyToClipboard(const std::wstring& text) {
    // The window owns what it puts there: with no owner EmptyClipboard leaves
    // none, and SetClipboardData then fails.
    if (!m_hwnd || !OpenClipboard(m_hwnd)) {
        KT_LOG(LOG_ERROR, "open clipboard fail, error " << GetLastError(),
               "Win32WindowBackend::CopyToClipboard");
        return false;
    }
    bool copied = false;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* target = memory ? GlobalLock(memory) : nullptr;
    if (target != nullptr) {
        std::memcpy(target, text.c_str(), bytes);
        GlobalUnlock(memory);
        // Once set, the clipboard owns the memory.
        copied = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!copied) {
        KT_LOG(LOG_ERROR, "set clipboard data fail, error " << GetLastError(),
               "Win32WindowBackend::CopyToClipboard");
        if (memory) GlobalFree(memory);
    }
    CloseClipboard();
    return copied;
}

}  // namespace DuiLib
