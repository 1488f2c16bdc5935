// A frame of the hotfix list with the Win32 backend (real window, GDI painter)
// under Wine: the main window's layout with COUNT rows made as the main window
// makes them, then timed with QueryPerformanceCounter: the first layout and
// paint, a repaint, and a wheel step with its repaint (UpdateWindow paints
// synchronously). Prints milliseconds, medians of the repeated ones.
//   list_frame.exe COUNT [REPEATS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "duilib/UIlib.h"
#include "ui/SharedConstants.h"
#include "ui/item/HotfixManageItemDetail.h"

using namespace DuiLib;

namespace {

double NowMs() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void Pump(int ms) {
    const double end = NowMs() + ms;
    MSG msg;
    while (NowMs() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

// The main window's layout showing its result view with the rows.
class ListWindow : public WindowImplBase {
public:
    explicit ListWindow(int count) : m_count(count) {}
    LPCTSTR GetWindowClassName() const override { return L"OrvelleBenchList"; }
    CDuiString GetSkinFile() override { return CDuiString(MAIN_WINDOW_LAYOUT); }
    void InitWindow() override {
        m_PaintManager.FindControl(L"loadingHotfixLayout")->SetVisible(false);
        m_PaintManager.FindControl(L"loadHotfixFinishLayout")->SetVisible(true);
    }
    void AddRows() {
        auto* list =
            dynamic_cast<CContainerUI*>(m_PaintManager.FindControl(L"containerInstalledHotfix"));
        for (int i = 0; i < m_count; ++i) {
            const HotfixInfo info{L"KB" + std::to_wstring(5000001 + i), L"Update", L"3/4/2024"};
            m_rows.emplace_back(new HotfixManageItemDetail(info));
            m_rows.back()->InitItemLayout(list);
            m_rows.back()->SetContent(info, i + 1 == m_count);
        }
        list->SetFixedHeight(m_PaintManager.ScaleValue(64 * m_count));
    }

private:
    int m_count;
    std::vector<std::unique_ptr<HotfixManageItemDetail>> m_rows;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int count = argc > 1 ? _wtoi(argv[1]) : 1000;
    const int repeats = argc > 2 ? _wtoi(argv[2]) : 100;
    SetProcessDPIAware();
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + RESOURCE_FOLDER);
    UICulture::GetInstance()->SetLanguagePath(
        (CPaintManagerUI::GetInstancePath() + LANGUAGE_FOLDER).str());
    UICulture::GetInstance()->SetLanguage(L"en-US", true);

    ListWindow window(count);
    if (!window.Create(nullptr, L"list_frame", WS_POPUP, 0, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT)) {
        std::fprintf(stderr, "list_frame: no window\n");
        return 1;
    }
    window.CenterWindow();
    window.ShowWindow(true, true);
    Pump(500);
    HWND hwnd = window.GetHWND();

    const double built = NowMs();
    window.AddRows();
    const double first = NowMs();
    UpdateWindow(hwnd);
    const double shown = NowMs();

    std::vector<double> repaints, wheels;
    for (int i = 0; i < repeats; ++i) {
        InvalidateRect(hwnd, nullptr, FALSE);
        const double start = NowMs();
        UpdateWindow(hwnd);
        repaints.push_back(NowMs() - start);
    }
    const UIRect view = window.GetPaintManager().FindControl(L"hotfixListView")->GetPos();
    POINT at = {view.left + view.Width() / 2, view.top + view.Height() / 2};
    ClientToScreen(hwnd, &at);
    for (int i = 0; i < repeats; ++i) {
        // Down and back up, so the list stays where it started.
        const short delta = i % 2 == 0 ? -WHEEL_DELTA : WHEEL_DELTA;
        const double start = NowMs();
        SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(at.x, at.y));
        UpdateWindow(hwnd);
        wheels.push_back(NowMs() - start);
    }
    std::printf(
        "rows %d: rows built %.1f ms, first layout and paint %.2f ms, repaint %.2f ms, "
        "wheel step and repaint %.2f ms (medians of %d)\n",
        count, first - built, shown - first, Median(repaints), Median(wheels), repeats);
    window.Close(0);
    Pump(100);
    return 0;
}
