#pragma once
// Date and time texts of a record's time stamp, as the list view shows them.
#include <cstdint>
#include <string>

namespace lumbra {

struct StampTexts {
    std::string date;  // "05-Mar-2004", or "unknown"
    std::string time;  // "09:07:31" (24-hour clock), or "unknown"
};

// Local calendar time of seconds since 1970-01-01 UTC. Stamps above 2,100,000,000 and dates
// outside the years 1901..2099 read "unknown" twice.
StampTexts FormatStamp(uint32_t timeStamp);

}  // namespace lumbra
