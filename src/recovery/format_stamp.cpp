#include "recovery/format_stamp.h"

#include <array>
#include <cstdio>
#include <ctime>

#include "recovery/item_record.h"

namespace lumbra {
namespace {

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

StampTexts Unknown() { return {"unknown", "unknown"}; }

}  // namespace

StampTexts FormatStamp(uint32_t timeStamp) {
    if (timeStamp > kTimeStampLimit) return Unknown();
    std::time_t seconds = static_cast<std::time_t>(timeStamp);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) return Unknown();
    int year = local.tm_year + 1900;
    if (local.tm_mday < 1 || local.tm_mday > 31 || local.tm_mon < 0 || local.tm_mon > 11 ||
        year < 1901 || year > 2099)
        return Unknown();
    char date[16];
    char time[16];
    std::snprintf(date, sizeof date, "%02d-%s-%04d", local.tm_mday,
                  kMonths[static_cast<size_t>(local.tm_mon)], year);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return {date, time};
}

}  // namespace lumbra
