#include "platform/platform_version.h"

#include <gtest/gtest.h>

namespace lumbra {
namespace {

TEST(PlatformVersion, LinuxReportsTheNewestLine) {
    EXPECT_EQ(LinuxPlatformVersion().versionCode(), version_code::kNt51);
    EXPECT_FALSE(IsNineXLine(LinuxPlatformVersion().versionCode()));
}

TEST(PlatformVersion, OnlyTheNineXCodesBelongToTheNineXLine) {
    for (int code : {version_code::kNineX, version_code::kNineX410, version_code::kNineX490}) {
        EXPECT_TRUE(IsNineXLine(code)) << code;
    }
    for (int code : {version_code::kWin32s, version_code::kNtOther, version_code::kNt4,
                     version_code::kNt50, version_code::kNt51}) {
        EXPECT_FALSE(IsNineXLine(code)) << code;
    }
}

}  // namespace
}  // namespace lumbra
