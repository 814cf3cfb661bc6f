#include "recovery/format_stamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace lumbra {
namespace {

// Stamps are shown in local time; these tests pin the zone to UTC.
class FormatStampTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

TEST_F(FormatStampTest, DayMonthYearAndTwentyFourHourClock) {
    StampTexts texts = FormatStamp(1078477651);
    EXPECT_EQ(texts.date, "05-Mar-2004");
    EXPECT_EQ(texts.time, "09:07:31");
}

TEST_F(FormatStampTest, LastRealStampIsADate) {
    StampTexts texts = FormatStamp(2'100'000'000u);
    EXPECT_EQ(texts.date, "18-Jul-2036");
    EXPECT_EQ(texts.time, "13:20:00");
}

TEST_F(FormatStampTest, StampPastTheLimitIsUnknownTwice) {
    for (uint32_t stamp : {2'100'000'001u, 0xFFFFFFFFu}) {
        StampTexts texts = FormatStamp(stamp);
        EXPECT_EQ(texts.date, "unknown");
        EXPECT_EQ(texts.time, "unknown");
    }
}

TEST_F(FormatStampTest, StampZeroIsTheEpoch) {
    StampTexts texts = FormatStamp(0);
    EXPECT_EQ(texts.date, "01-Jan-1970");
    EXPECT_EQ(texts.time, "00:00:00");
}

TEST_F(FormatStampTest, LocalTimeIsUsed) {
    setenv("TZ", "UTC-2", 1);  // two hours east of UTC
    tzset();
    StampTexts texts = FormatStamp(86399);
    EXPECT_EQ(texts.date, "02-Jan-1970");
    EXPECT_EQ(texts.time, "01:59:59");
}

}  // namespace
}  // namespace lumbra
