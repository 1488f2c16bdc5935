// The installation date of a hotfix as a row shows it: the InstalledOn text
// Windows reports, rewritten as year-month-day.
#pragma once

#include <string>
#include <vector>

struct InstalledOnDate {
    std::wstring text;                 // what the row shows; empty when there is no date
    const wchar_t* problem = nullptr;  // why it is not a date, for the log; null otherwise
};

// Which number of an "A/B/YYYY" date is the day. Decided once for a whole list,
// since every row of one machine is written in its one regional form.
enum class SlashDates { MonthFirst, DayFirst };

// Day first when some "A/B/YYYY" of the list has A above 12 and none has B above 12.
SlashDates SlashOrderOf(const std::vector<std::wstring>& installedOns);

// Spaces around the text are dropped. Read as a date, each checked to be real:
//   "A/B/YYYY" in the list's order (month first keeps the pieces as written:
//   "12/07/2026" -> "2026-12-07"); the others are shown unpadded: "YYYY/M/D",
//   "YYYYMMDD", "D.M.YYYY", "YYYY-M-D", and 16 hexadecimal digits: a FILETIME,
//   shown as the local date. A text that no reading makes a real date has its
//   "/" pieces rewritten with the last one first ("1/2/3/4" -> "4-1-2-3"), or no
//   date when it holds no "/" or ends with one ("installedTime is empty" or
//   "timeStr is empty" in `problem`).
InstalledOnDate FormatInstalledOn(const std::wstring& installedOn,
                                  SlashDates order = SlashDates::MonthFirst);
