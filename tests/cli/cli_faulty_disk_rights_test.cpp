// The command line as an ordinary user on a failing disk only root may read: the device-opening
// helper (through the stand-in for pkexec) opens a root-only loop device over the faulty disk,
// and the bad sectors read as zeros, said so, while those around them read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "built_cli.h"
#include "support/device_rights.h"
#include "support/faulty_disk.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

using test::RunCommandLine;

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(CliFaultyDiskRights, AnOrdinaryUserReadsARootOnlyFailingDiskThroughTheHelper) {
    if (const std::string why = test::FaultyDiskUnavailable(); !why.empty()) GTEST_SKIP() << why;
    const test::ScratchFolder scratch("cli_faulty_rights");
    const std::string image = scratch.numberedImage("disk.img", 64);
    test::FaultyDisk disk(image, {.unreadable = {{20, 2}}}, scratch.file("served"), test::FaultyDisk::Attach::FileOnly);
    ASSERT_TRUE(disk.ready()) << disk.why();
    const test::RootOnlyLoopDevice loop(disk.file());
    if (loop.device().empty()) GTEST_SKIP() << loop.why();
    std::string why;
    const std::string standIn = test::InstallPkexecStandIn(scratch, 0, why);
    if (standIn.empty()) GTEST_SKIP() << why;

    const std::string answer = test::RunAsNobody(standIn, [&] {
        if (access(loop.device().c_str(), R_OK) == 0) return std::string("nobody may read the disk itself");
        return RunCommandLine("--no-drives read --drive " + loop.device() + " --sector 18 --count 6");
    });
    EXPECT_EQ(Occurrences(answer, ": UNREADABLE, shown as zeros"), 2u) << answer;
    EXPECT_NE(answer.find("sector 20: UNREADABLE"), std::string::npos) << answer;
    EXPECT_NE(answer.find("sector 21: UNREADABLE"), std::string::npos) << answer;
    EXPECT_NE(answer.find("sector 22:\n"), std::string::npos) << answer;
    EXPECT_NE(answer.find("exit 1\n"), std::string::npos) << answer;
    const test::FaultyDiskCounters counters = disk.counters();
    std::printf("through the helper: %s\n", counters.text().c_str());
    EXPECT_GT(counters.failedReads, 0u);
}

}  // namespace
}  // namespace lumbra
