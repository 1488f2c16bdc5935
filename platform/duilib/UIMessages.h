// The window messages the toolkit core sends to CWindowWnd::HandleMessage, with
// the values <windows.h> gives them (defined only when it has not already).
#pragma once

#include "winapi/WinTypes.h"

#ifndef WM_CREATE
#define WM_CREATE 0x0001
#endif
#ifndef WM_DESTROY
#define WM_DESTROY 0x0002
#endif
#ifndef WM_TIMER
#define WM_TIMER 0x0113
#endif
#ifndef SC_CLOSE
#define SC_CLOSE 0xF060
#endif
