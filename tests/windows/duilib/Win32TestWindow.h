// A small real window for the Win32 backend's tests, built from
// tests/fixtures/win32/layout/probe.xml, recording its notifications.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "duilib/UIBackend.h"
#include "duilib/UIlib.h"
#include "testkit/TestPaths.h"

namespace Win32Test {

// The fixture folder as a resource path Wine resolves (the tree is drive Z:).
inline std::wstring FixtureResourcePath() {
    std::wstring path = TestPaths::SourceDirW() + L"/tests/fixtures/win32/";
    return path[0] == L'/' ? L"Z:" + path : path;
}

class ProbeWindow : public DuiLib::WindowImplBase {
public:
    LPCTSTR GetWindowClassName() const override { return L"OrvelleWin32Probe"; }
    DuiLib::CDuiString GetSkinFile() override { return L"layout\\probe.xml"; }
    void Notify(DuiLib::TNotifyUI& msg) override {
        notifications.push_back(msg.sType.str() + L":" +
                                (msg.pSender ? msg.pSender->GetName().str() : std::wstring()));
        WindowImplBase::Notify(msg);
    }
    // Creates the native window as start-up does (size from the layout).
    HWND CreateProbe(HWND parent, const wchar_t* title) {
        DuiLib::CPaintManagerUI::SetResourcePath(FixtureResourcePath().c_str());
        return Create(parent, title, WS_POPUP, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT);
    }
    DuiLib::UIRect PosOf(const wchar_t* name) {
        DuiLib::CControlUI* control = GetPaintManager().FindControl(name);
        return control ? control->GetPos() : DuiLib::UIRect();
    }

    std::vector<std::wstring> notifications;
};

inline LPARAM ClientPoint(int x, int y) {
    return MAKELPARAM(x, y);
}

inline LPARAM ScreenPoint(HWND hwnd, int x, int y) {
    POINT pt = {x, y};
    ClientToScreen(hwnd, &pt);
    return MAKELPARAM(pt.x, pt.y);
}

}  // namespace Win32Test
