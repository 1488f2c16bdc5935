// FILETIME to local calendar date through the system's own conversion, which
// applies the time zone rules Windows has for that moment.
#include <windows.h>

#include "support/LocalDate.h"

bool LocalDate::FromFileTime(uint64_t fileTime, CivilDate& date) {
    FILETIME utc = {static_cast<DWORD>(fileTime & 0xFFFFFFFFu), static_cast<DWORD>(fileTime >> 32)};
    FILETIME local = {};
    SYSTEMTIME parts = {};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &parts)) {
        return false;
    }
    date = CivilDate{parts.wYear, parts.wMonth, parts.wDay};
    return true;
}
