// The calendar date, in the user's time zone, of a Windows FILETIME value
// (100 ns intervals since 1601-01-01 UTC). Any thread.
#pragma once

#include <cstdint>

struct CivilDate {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1-31
};

namespace LocalDate {

// False when the system cannot convert the value (out of its range).
bool FromFileTime(uint64_t fileTime, CivilDate& date);

}  // namespace LocalDate
