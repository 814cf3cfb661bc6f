// The report's and the command line's ISO 8601 stamps agree with the C library's calendar.
#include <gtest/gtest.h>

#include <ctime>

#include "recovery/item_record.h"
#include "recovery/recovery_report.h"

namespace lumbra {
namespace {

std::string LibraryStamp(uint32_t timeStamp) {
    const std::time_t seconds = static_cast<std::time_t>(timeStamp);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

TEST(IsoStamp, AgreesWithTheLibraryCalendarUpToTheLimit) {
    EXPECT_EQ(IsoStamp(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(IsoStamp(1078477651), "2004-03-05T09:07:31Z");
    EXPECT_EQ(IsoStamp(951782400), "2000-02-29T00:00:00Z");
    EXPECT_EQ(IsoStamp(kTimeStampLimit - 1), LibraryStamp(kTimeStampLimit - 1));
    EXPECT_EQ(IsoStamp(kTimeStampLimit), "");
    EXPECT_EQ(IsoStamp(UINT32_MAX), "");
    // Every day's first and last second, and leap years and century rules on the way.
    for (uint32_t stamp = 0; stamp < kTimeStampLimit - 86400; stamp += 86400 * 7 + 3599) {
        ASSERT_EQ(IsoStamp(stamp), LibraryStamp(stamp)) << stamp;
        ASSERT_EQ(IsoStamp(stamp / 86400 * 86400 + 86399), LibraryStamp(stamp / 86400 * 86400 + 86399)) << stamp;
    }
}

}  // namespace
}  // namespace lumbra
