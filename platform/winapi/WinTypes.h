// The handful of Windows types and constants that portable code names.
// The typedefs match <windows.h> exactly (same underlying types), so a Win32
// backend file may include both; the constants are only defined when
// <windows.h> has not already defined them.
#pragma once

#include <cstdint>

struct HWND__;
struct HINSTANCE__;
typedef HWND__* HWND;
typedef HINSTANCE__* HINSTANCE;
typedef void* HANDLE;
typedef unsigned int UINT;
typedef int BOOL;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef wchar_t* LPWSTR;

#ifndef WM_CLOSE
#define WM_CLOSE 0x0010
#endif
#ifndef WM_QUIT
#define WM_QUIT 0x0012
#endif
#ifndef WM_QUERYENDSESSION
#define WM_QUERYENDSESSION 0x0011
#endif
#ifndef WM_SYSCOMMAND
#define WM_SYSCOMMAND 0x0112
#endif
#ifndef SC_MINIMIZE
#define SC_MINIMIZE 0xF020
#endif
#ifndef SC_RESTORE
#define SC_RESTORE 0xF120
#endif
#ifndef WS_POPUP
#define WS_POPUP 0x80000000L
#endif
#ifndef WS_EX_WINDOWEDGE
#define WS_EX_WINDOWEDGE 0x00000100L
#endif
#ifndef CW_USEDEFAULT
#define CW_USEDEFAULT ((int)0x80000000)
#endif
#ifndef MB_OK
#define MB_OK 0x00000000L
#endif
#ifndef MB_TOPMOST
#define MB_TOPMOST 0x00040000L
#endif
#ifndef ERROR_ALREADY_EXISTS
#define ERROR_ALREADY_EXISTS 183L
#endif
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
