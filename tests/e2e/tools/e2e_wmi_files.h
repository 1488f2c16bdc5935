// The files in C:\e2e\ through which a scenario steers the WMI stand-in
// (formats in e2e_wmi.cpp). Each is read when its call comes, so a scenario
// may change them between two loads of the program.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "e2e_standin_files.h"

namespace e2e_wmi {

// One property of a served instance: text, VT_NULL, or absent from the instance.
struct Value {
    enum class Kind { kText, kNull, kMissing };
    Kind kind = Kind::kText;
    std::wstring text;
};

// HotFixID, Description and InstalledOn, in the order of kPropertyNames.
using Hotfix = std::array<Value, 3>;
extern const wchar_t* const kPropertyNames[3];

// The list file exists: this DLL serves it instead of Wine's WMI.
bool ServesList();

// The list's records; false with the reason when it cannot be read or a line is malformed.
bool ReadHotfixes(std::vector<Hotfix>& hotfixes, std::wstring& problem);

// The failure asked for at STAGE ("CreateInstance", "ConnectServer", "ExecQuery",
// "Next"): its HRESULT (S_OK when none) and, for Next, after how many records.
struct Failure {
    HRESULT hr = S_OK;
    unsigned long after = 0;
};
Failure FailureAt(const wchar_t* stage);

// How long after ExecQuery the records become available (0 when not slowed).
DWORD SlowMs();

// Waits while the scenario holds WMI (at most 60 s); the hold is used up.
void HoldIfAsked();

// Appends one line to the call record (C:\e2e\wmi-calls.txt, UTF-8).
void Record(const std::wstring& line);

using e2e_files::Hex;

}  // namespace e2e_wmi
