// e2e_ui.exe: the Windows side of the end-to-end scenarios, run inside the
// scenario's Wine prefix. Subcommands (results on stdout, UTF-8):
//
//   run REPORT PROGRAM [ARGS...]   starts PROGRAM, waits for it and writes
//                                  "exit_code=<unsigned>" to the file REPORT
//                                  (the shell only sees the low byte under Wine)
//   window CLASS TITLE             "<left> <top> <right> <bottom> <minimized> <enabled>
//                                  <foreground>" of the top-level window, or "none"
//   dialog TITLE                   a message box ("#32770") with that caption:
//                                  "<l> <t> <r> <b> <topmost>", then one line per child,
//                                  "static<TAB><text>" or "button<TAB><l t r b><TAB><text>"
//   text SPECS                     for each line "OUT<TAB>SIZE<TAB>STYLE<TAB>AARRGGBB<TAB>
//                                  AARRGGBB<TAB>TEXT" of the UTF-8 file SPECS, draws TEXT in
//                                  that font (STYLE 1 bold, 0 not, + 2 underlined) and colour
//                                  over that background with the toolkit's own painter into
//                                  the 24-bit BMP file OUT
//   cover RELEASE                  shows a plain full-screen window in front, until the
//                                  file RELEASE exists (at most 60 s)
//   record FILE [ARGS...]          appends ARGS, one per line, to FILE (UTF-8); a stand-in
//                                  for a shell handler
//   shell                          whether the desktop shell answers (Explorer's
//                                  ShellWindows): "ready", or "none"
//   squat mutex|window RELEASE     another program's take on the single instance, held
//                                  until the file RELEASE exists (at most 120 s): the mutex
//                                  "windows//PC/Orvelle" made without a security descriptor,
//                                  or a hidden window of class "OrvelleExUI" titled "OrvelleEx";
//                                  prints "squatting" once it holds it
//   wua-history | wua-search | wua-hide   the program's Windows Update calls (e2e_ui_wua.cpp)
//
// Exit status 0 on success, 1 when the answer is "none" or a step failed, 2 for bad usage.
#include <windows.h>
// (first: the other Windows headers build on it)
#include <exdisp.h>
#include <shlguid.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "duilib/UIBackend.h"
#include "duilib_win32/Win32Painter.h"
#include "e2e_ui_wua.h"
#include "winapi/TextConversion.h"

namespace {

void Print(const std::wstring& text) {
    std::fputs(Strconv::WideToUtf8(text).c_str(), stdout);
}

std::wstring QuoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) {
        return arg;
    }
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

bool WriteReport(const wchar_t* path, DWORD exitCode) {
    FILE* file = _wfopen(path, L"w");
    if (!file) {
        return false;
    }
    std::fprintf(file, "exit_code=%lu\n", static_cast<unsigned long>(exitCode));
    return std::fclose(file) == 0;
}

int Run(int argc, wchar_t** argv) {
    std::wstring commandLine = QuoteArgument(argv[3]);
    for (int i = 4; i < argc; ++i) {
        commandLine += L" " + QuoteArgument(argv[i]);
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(argv[3], &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "e2e_ui: CreateProcess failed, error %lu\n", GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("exit_code=%lu\n", static_cast<unsigned long>(exitCode));
    return WriteReport(argv[2], exitCode) ? 0 : 1;
}

int Window(wchar_t** argv) {
    HWND hwnd = FindWindowW(argv[2], argv[3]);
    if (!hwnd) {
        std::printf("none\n");
        return 1;
    }
    RECT rc;
    GetWindowRect(hwnd, &rc);
    std::printf("%ld %ld %ld %ld %d %d %d\n", rc.left, rc.top, rc.right, rc.bottom,
                IsIconic(hwnd) ? 1 : 0, IsWindowEnabled(hwnd) ? 1 : 0,
                GetForegroundWindow() == hwnd ? 1 : 0);
    return 0;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(hwnd, buffer, 1024);
    return buffer;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    const std::wstring text = WindowText(child);
    if (_wcsicmp(className, L"Static") == 0 && !text.empty()) {
        Print(L"static\t" + text + L"\n");
    } else if (_wcsicmp(className, L"Button") == 0 && IsWindowVisible(child)) {
        RECT rc;
        GetWindowRect(child, &rc);
        std::printf("button\t%ld %ld %ld %ld\t", rc.left, rc.top, rc.right, rc.bottom);
        Print(text + L"\n");
    }
    return TRUE;
}

int Dialog(wchar_t** argv) {
    HWND box = FindWindowW(L"#32770", argv[2]);
    if (!box || !IsWindowVisible(box)) {
        std::printf("none\n");
        return 1;
    }
    RECT rc;
    GetWindowRect(box, &rc);
    const bool topmost = (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    std::printf("%ld %ld %ld %ld %d\n", rc.left, rc.top, rc.right, rc.bottom, topmost ? 1 : 0);
    EnumChildWindows(box, PrintChild, 0);
    return 0;
}

// One text as the toolkit paints it: its measured cell over a plain background.
struct TextRequest {
    std::wstring out;
    DuiLib::UIFont font;
    uint32_t colour = 0;
    uint32_t background = 0;
    std::wstring text;
};

bool ParseTextRequest(const std::string& line, TextRequest& request) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (fields.size() < 5 && std::getline(stream, field, '\t')) {
        fields.push_back(field);
    }
    std::string text;
    if (fields.size() != 5 || !std::getline(stream, text)) {
        return false;
    }
    if (!text.empty() && text.back() == '\r') {
        text.pop_back();
    }
    request.out = Strconv::Utf8ToWide(fields[0]);
    request.font.size = std::atoi(fields[1].c_str());
    const int style = std::atoi(fields[2].c_str());
    request.font.bold = (style & 1) != 0;
    request.font.underline = (style & 2) != 0;
    request.colour = static_cast<uint32_t>(std::strtoul(fields[3].c_str(), nullptr, 16));
    request.background = static_cast<uint32_t>(std::strtoul(fields[4].c_str(), nullptr, 16));
    request.text = Strconv::Utf8ToWide(text);
    return request.font.size > 0 && !request.text.empty();
}

// Rows of 32-bit pixels, top-down, written as a bottom-up 24-bit BMP.
bool WriteBmp(const std::wstring& path, const uint32_t* pixels, int cx, int cy) {
    const int stride = (cx * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * cy;
    info.biSize = sizeof(info);
    info.biWidth = cx;
    info.biHeight = cy;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    std::vector<char> row(stride, 0);
    for (int y = cy - 1; y >= 0; --y) {
        for (int x = 0; x < cx; ++x) {
            const uint32_t p = pixels[y * cx + x];
            row[x * 3] = static_cast<char>(p & 0xFF);
            row[x * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>((p >> 16) & 0xFF);
        }
        out.write(row.data(), stride);
    }
    return static_cast<bool>(out);
}

bool PaintText(const TextRequest& request) {
    const DuiLib::UISize cell = DuiLib::Backend::MeasureText(request.text, request.font);
    const DuiLib::UIRect rect{0, 0, cell.cx, cell.cy};
    DuiLib::CRenderList list;
    list.FillRect(rect, request.background, rect);
    list.Text(rect, request.text, request.font, request.colour, rect);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cell.cx;
    info.bmiHeader.biHeight = -cell.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc || !bitmap || cell.cx <= 0 || cell.cy <= 0) {
        return false;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    {
        DuiLib::Win32Painter painter;
        painter.Paint(dc, cell.cx, cell.cy, list, RECT{0, 0, cell.cx, cell.cy});
    }
    GdiFlush();
    const bool written = WriteBmp(request.out, static_cast<uint32_t*>(bits), cell.cx, cell.cy);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return written;
}

int Text(wchar_t** argv) {
    std::ifstream specs(argv[2]);
    if (!specs) {
        std::fprintf(stderr, "e2e_ui: cannot read the text specs\n");
        return 1;
    }
    std::string line;
    int failed = 0;
    while (std::getline(specs, line)) {
        TextRequest request;
        if (line.empty()) {
            continue;
        }
        if (!ParseTextRequest(line, request) || !PaintText(request)) {
            std::fprintf(stderr, "e2e_ui: cannot draw \"%s\"\n", line.c_str());
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}

int Cover(wchar_t** argv) {
    const DWORD until = GetTickCount() + 60000;
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"e2e cover", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                nullptr, nullptr, nullptr, nullptr);
    if (!hwnd) {
        return 1;
    }
    // Topmost only while it takes the foreground, so a window raised later can be above it.
    SetForegroundWindow(hwnd);
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    std::printf("shown\n");
    std::fflush(stdout);
    while (GetTickCount() < until && GetFileAttributesW(argv[2]) == INVALID_FILE_ATTRIBUTES) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        Sleep(20);
    }
    DestroyWindow(hwnd);
    return 0;
}

int Record(int argc, wchar_t** argv) {
    std::string lines;
    for (int i = 3; i < argc; ++i) {
        lines += Strconv::WideToUtf8(argv[i]) + "\n";
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::app);
    out << lines;
    return out ? 0 : 1;
}

// Wine's Explorer registers its ShellWindows a moment after the prefix starts.
int DesktopShell() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IUnknown* windows = nullptr;
    const HRESULT hr = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                        IID_IUnknown, reinterpret_cast<void**>(&windows));
    if (windows != nullptr) windows->Release();
    CoUninitialize();
    std::printf("%s\n", SUCCEEDED(hr) ? "ready" : "none");
    return SUCCEEDED(hr) ? 0 : 1;
}

int Squat(wchar_t** argv) {
    const std::wstring what = argv[2];
    HANDLE mutex = nullptr;
    HWND hwnd = nullptr;
    if (what == L"mutex") {
        mutex = CreateMutexW(nullptr, TRUE, L"windows//PC/Orvelle");
    } else if (what == L"window") {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"OrvelleExUI";
        if (RegisterClassW(&windowClass))
            hwnd = CreateWindowExW(0, L"OrvelleExUI", L"OrvelleEx", WS_POPUP, 0, 0, 100, 100,
                                   nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    if (mutex == nullptr && hwnd == nullptr) return 1;
    std::printf("squatting\n");
    std::fflush(stdout);
    const DWORD until = GetTickCount() + 120000;
    while (GetTickCount() < until && GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(20);
    }
    if (hwnd != nullptr) DestroyWindow(hwnd);
    if (mutex != nullptr) CloseHandle(mutex);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Physical pixels everywhere, as the program itself (it is DPI-aware).
    SetProcessDPIAware();
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"run" && argc >= 4) {
        return Run(argc, argv);
    }
    if (command == L"window" && argc == 4) {
        return Window(argv);
    }
    if (command == L"dialog" && argc == 3) {
        return Dialog(argv);
    }
    if (command == L"text" && argc == 3) {
        return Text(argv);
    }
    if (command == L"cover" && argc == 3) {
        return Cover(argv);
    }
    if (command == L"record" && argc >= 3) {
        return Record(argc, argv);
    }
    if (command == L"shell" && argc == 2) {
        return DesktopShell();
    }
    if (command == L"squat" && argc == 4) {
        return Squat(argv);
    }
    if (command.rfind(L"wua-", 0) == 0) {
        const int status = WindowsUpdateCommand(argc, argv);
        if (status != 2) return status;
    }
    std::fprintf(stderr,
                 "usage: e2e_ui run REPORT PROGRAM [ARGS...] | window CLASS TITLE | dialog TITLE | "
                 "text SPECS | cover RELEASE | record FILE [ARGS...] | shell | "
                 "squat mutex|window RELEASE | wua-history | wua-search CRITERIA [ABORT_MS] | "
                 "wua-hide CRITERIA KB true|false\n");
    return 2;
}
