// The floor for memory under Wine: a bare Win32 window of the main window's
// size with an ordinary message loop, nothing else. With "/wmi" on its command
// line it also runs the program's WMI query once, which tells the memory of
// the WMI stack apart from the program's own. scripts/bench.sh --wine compares
// OrvelleEx.exe's peak memory against both.
#include <windows.h>

#include <cwchar>
#include <vector>

#include "support/WMIHelper.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassW(&windowClass);
    HWND window =
        CreateWindowExW(0, L"BareWindow", L"BareWindow", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);
    if (commandLine != nullptr && std::wcsstr(commandLine, L"/wmi") != nullptr) {
        std::vector<HotfixInfo> hotfixes;
        WMIHelper(L"ROOT\\CIMV2").SelectStrA(L"SELECT * FROM Win32_QuickFixEngineering", hotfixes);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
