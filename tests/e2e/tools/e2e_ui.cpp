// e2e_ui.exe: the Windows side of the end-to-end scenarios, run inside the
// scenario's Wine prefix. Subcommands (results on stdout, one line):
//
//   run REPORT PROGRAM [ARGS...]   starts PROGRAM, waits for it and writes
//                                  "exit_code=<unsigned>" to the file REPORT
//                                  (the shell only sees the low byte under Wine)
//   window CLASS TITLE             "<left> <top> <right> <bottom> <minimized> <enabled>
//   <foreground>"
//                                  of the top-level window, or "none"
//   rect CLASS TITLE CONTROL       the control's screen rectangle "<l> <t> <r> <b>", or "none"
//                                  (asked from the window through the toolkit's
//                                  control query, see win32/Win32ControlQuery.h)
//
// Exit status 0 when the answer is not "none", 1 otherwise, 2 for bad usage.
#include <windows.h>

#include <cstdio>
#include <string>

#include "duilib/win32/Win32ControlQuery.h"

namespace {

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

int Rect(wchar_t** argv) {
    HWND hwnd = FindWindowW(argv[2], argv[3]);
    RECT rc;
    if (!hwnd || !DuiLib::Win32ControlQuery::Ask(hwnd, argv[4], rc)) {
        std::printf("none\n");
        return 1;
    }
    POINT topLeft = {rc.left, rc.top};
    POINT bottomRight = {rc.right, rc.bottom};
    ClientToScreen(hwnd, &topLeft);
    ClientToScreen(hwnd, &bottomRight);
    std::printf("%ld %ld %ld %ld\n", topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"run" && argc >= 4) {
        return Run(argc, argv);
    }
    if (command == L"window" && argc == 4) {
        return Window(argv);
    }
    if (command == L"rect" && argc == 5) {
        return Rect(argv);
    }
    std::fprintf(stderr,
                 "usage: e2e_ui run REPORT PROGRAM [ARGS...] | window CLASS TITLE | "
                 "rect CLASS TITLE CONTROL\n");
    return 2;
}
