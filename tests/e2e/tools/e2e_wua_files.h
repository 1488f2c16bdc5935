// The files in C:\e2e\ through which a scenario steers the Windows Update
// stand-in (formats in e2e_wua.cpp). Each is read when its call comes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "e2e_standin_files.h"

namespace e2e_wua {

struct HistoryEntry {
    double date = 0;  // an OLE DATE
    std::wstring title;
};

struct Offered {
    std::vector<std::wstring> kbIds;  // digits only
    bool hidden = false;
    bool mandatory = false;
    std::wstring title;
};

std::vector<HistoryEntry> ReadHistory();
std::vector<Offered> ReadOffer();
// The offered updates a search with `criteria` finds, by their hidden flags.
std::vector<Offered> OfferFor(const std::wstring& criteria);
// Rewrites the hidden flag of the offered update whose first KB is `kb`.
void SetOfferedHidden(const std::wstring& kb, bool hidden);

// The HRESULT asked for at STAGE ("history", "search", "hide"); S_OK when none.
HRESULT FailureAt(const wchar_t* stage);

// The scenario holds STAGE ("history" or "search"): writes wua-held and waits
// until wua-release exists or `stop` is signalled (at most 120 s); the hold is
// used up. False when `stop` ended it.
bool HoldIfAsked(const wchar_t* stage, HANDLE stop);

// Appends one line to C:\e2e\wua-calls.txt (UTF-8).
void Record(const std::wstring& line);
// Appends one line to C:\e2e\wua-hidden.txt: every put_IsHidden call.
void RecordHidden(const std::wstring& line);

using e2e_files::Hex;

}  // namespace e2e_wua
