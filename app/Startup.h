// Start-up of the program (WinMain.cpp): the entry point and its single-instance
// and missing-resource helpers. Main thread only.
#pragma once

#include "winapi/WinTypes.h"

// The single-instance mutex held by this process, null when none is held.
extern HANDLE g_instanceMutex;

// True when another instance holds the mutex; its main window has then been
// restored and brought to the front, and this process holds no mutex.
bool IsAlreadyRunning();
// The top-most missing-resource message box; returns when it is dismissed.
void ShowResourceMissingTips();

// Runs the program; 0 on every path.
extern "C" int wWinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine,
                        int showCommand);
