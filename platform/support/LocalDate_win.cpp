// FILETIME to local calendar date through the system's own conversion.
// SystemTimeToTzSpecificLocalTime applies the daylight saving rule in force at
// that moment; FileTimeToLocalFileTime would apply today's offset instead.
#include <windows.h>

#include "support/LocalDate.h"

bool LocalDate::FromFileTime(uint64_t fileTime, CivilDate& date) {
    FILETIME utc = {static_cast<DWORD>(fileTime & 0xFFFFFFFFu), static_cast<DWORD>(fileTime >> 32)};
    SYSTEMTIME utcParts = {};
    SYSTEMTIME parts = {};
    if (!FileTimeToSystemTime(&utc, &utcParts) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utcParts, &parts)) {
        return false;
    }
    date = CivilDate{parts.wYear, parts.wMonth, parts.wDay};
    return true;
}
