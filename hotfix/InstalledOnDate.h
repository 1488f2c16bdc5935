// The installation date of a hotfix as a row shows it: the InstalledOn text
// Windows reports, rewritten as year-month-day.
#pragma once

#include <string>

struct InstalledOnDate {
    std::wstring text;                 // what the row shows; empty when there is no date
    const wchar_t* problem = nullptr;  // why it is empty, for the log; null otherwise
};

// Month first "M/D/YYYY" keeps the pieces as written ("12/7/2026" -> "2026-12-7").
// Recognised other forms, each checked to be a real date and shown unpadded:
//   "D/M/YYYY" when the first number cannot be a month ("22/2/2022" -> "2022-2-22"),
//   "D.M.YYYY", "YYYY-M-D", and 16 hexadecimal digits: a FILETIME, shown as the
//   local date. Anything else is rewritten piece by piece: the last "/" piece
//   first, then every earlier one after a "-"; without any "/" there is no date.
InstalledOnDate FormatInstalledOn(const std::wstring& installedOn);
