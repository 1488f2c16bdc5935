#include <algorithm>

#include "../UIManager.h"
#include "Win32ControlQuery.h"

namespace DuiLib {
namespace Win32ControlQuery {
namespace {

uint64_t Field(int value) {
    return static_cast<uint64_t>(std::clamp(value, 0, 0xFFFF));
}

// The part of the control that shows: hidden when it or an ancestor is hidden,
// clipped by every ancestor's rectangle (scrolled containers included).
bool ShownRect(CControlUI* control, UIRect& shown) {
    shown = control->GetPos();
    for (CControlUI* node = control; node; node = node->GetParent()) {
        if (!node->IsVisible()) {
            return false;
        }
        shown = IntersectRect(shown, node->GetPos());
    }
    return !IsRectEmpty(shown);
}

}  // namespace

bool Answer(CPaintManagerUI* manager, LPARAM lParam, LRESULT& result) {
    const auto* request = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!request || request->dwData != kRectQuery) {
        return false;
    }
    result = 0;
    const DWORD bytes = request->cbData;
    if (!manager || !request->lpData || bytes == 0 || bytes % sizeof(wchar_t) != 0 ||
        bytes / sizeof(wchar_t) > kMaxNameChars) {
        return true;
    }
    const std::wstring name(static_cast<const wchar_t*>(request->lpData), bytes / sizeof(wchar_t));
    CControlUI* control = manager->FindControl(name.c_str());
    UIRect shown;
    if (!control || !ShownRect(control, shown)) {
        return true;
    }
    result = static_cast<LRESULT>(Field(shown.left) | Field(shown.top) << 16 |
                                  Field(shown.right) << 32 | Field(shown.bottom) << 48);
    return true;
}

}  // namespace Win32ControlQuery
}  // namespace DuiLib
