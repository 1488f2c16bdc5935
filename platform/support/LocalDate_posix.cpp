// FILETIME to local calendar date through localtime_r (the TZ of the process).
#include <ctime>

#include "support/LocalDate.h"

namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kEpochDifference = 11644473600;

}  // namespace

bool LocalDate::FromFileTime(uint64_t fileTime, CivilDate& date) {
    const int64_t seconds = static_cast<int64_t>(fileTime / 10000000) - kEpochDifference;
    const std::time_t when = static_cast<std::time_t>(seconds);
    std::tm parts = {};
    if (static_cast<int64_t>(when) != seconds || localtime_r(&when, &parts) == nullptr) {
        return false;
    }
    date = CivilDate{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday};
    return true;
}
