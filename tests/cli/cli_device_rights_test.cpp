// The command line as an ordinary user, on a disk only root may read: it asks pkexec (a stand-in
// here) for the device-opening helper, reads the disk through the descriptor the helper passes,
// and what it writes belongs to the user.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "built_cli.h"
#include "support/device_rights.h"
#include "support/nss_image_builder.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;

using test::RunCommandLine;

class CliDeviceRights : public ::testing::Test {
protected:
    void SetUp() override {
        test::VolumePlan volume{.name = "DATA"};
        const uint64_t letters = volume.addFolder("Letters");
        volume.addFile("report.txt", letters, 5000);
        test::NssImageBuilder()
            .pool({.name = "RIGHTS", .segments = {{.headerSector = 2048}}, .volumes = {volume}})
            .build()
            .writeTo(image);
        loop = std::make_unique<test::RootOnlyLoopDevice>(image);
    }

    // The stand-in's folder, or "" after GTEST_SKIP's reason is known.
    std::string StandIn(int exitStatus, std::string& why) {
        if (loop->device().empty()) {
            why = loop->why();
            return "";
        }
        return test::InstallPkexecStandIn(scratch, exitStatus, why);
    }

    test::ScratchFolder scratch{"cli_rights"};
    std::string image = scratch.file("disk.img");
    std::unique_ptr<test::RootOnlyLoopDevice> loop;
};

TEST_F(CliDeviceRights, AnOrdinaryUserListsMountsAndExtractsARootOnlyDiskThroughTheHelper) {
    std::string why;
    const std::string standIn = StandIn(0, why);
    if (standIn.empty()) GTEST_SKIP() << why;
    const std::string out = scratch.file("out");
    fs::create_directories(out);
    ASSERT_EQ(chown(out.c_str(), test::kNobody, test::kNobody), 0);
    const std::string source = "--drive " + loop->device() + " --pool 0 --volume 0";

    const std::string answer = test::RunAsNobody(standIn, [&] {
        if (access(loop->device().c_str(), R_OK) == 0) return std::string("nobody may read the disk itself");
        return RunCommandLine("drives") + "--\n" + RunCommandLine("pools --drive " + loop->device()) + "--\n" +
               RunCommandLine("list " + source) + "--\n" + RunCommandLine("extract " + source + " --out " + out);
    });
    EXPECT_NE(answer.find(loop->device() + "\n"), std::string::npos) << answer;
    EXPECT_NE(answer.find("RIGHTS"), std::string::npos) << answer;
    EXPECT_NE(answer.find("report.txt"), std::string::npos) << answer;
    EXPECT_EQ(answer.find("exit 0\n--\nexit"), std::string::npos) << answer;
    EXPECT_EQ(answer.find("cannot open"), std::string::npos) << answer;

    const fs::path copied = fs::path(out) / "Letters" / "report.txt";
    ASSERT_TRUE(fs::exists(copied)) << answer;
    EXPECT_EQ(fs::file_size(copied), 5000u);
    // The files, their folders and the recovery report all belong to the user.
    size_t made = 0, reports = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
        struct stat info {};
        ASSERT_EQ(stat(entry.path().c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, test::kNobody) << entry.path();
        EXPECT_EQ(info.st_gid, test::kNobody) << entry.path();
        ++made;
        if (entry.path().extension() == ".xml") ++reports;
    }
    EXPECT_GE(made, 3u);
    EXPECT_GE(reports, 1u);
}

// A disk named with --image, as an image file would be: listed from sysfs without rights, read
// through the helper.
TEST_F(CliDeviceRights, ADiskGivenAsAnImageIsReadThroughTheHelperToo) {
    std::string why;
    const std::string standIn = StandIn(0, why);
    if (standIn.empty()) GTEST_SKIP() << why;
    const std::string answer = test::RunAsNobody(standIn, [&] {
        return RunCommandLine("--no-drives --image " + loop->device() + " drives") + "--\n" +
               RunCommandLine("--no-drives --image " + loop->device() + " pools --drive 0");
    });
    EXPECT_NE(answer.find(fs::path(loop->device()).filename().string()), std::string::npos) << answer;
    EXPECT_NE(answer.find("RIGHTS"), std::string::npos) << answer;
    EXPECT_EQ(answer.find("cannot open"), std::string::npos) << answer;
    EXPECT_EQ(answer.find("exit 0\n--\n"), answer.find("exit")) << answer;
    EXPECT_TRUE(answer.ends_with("exit 0\n")) << answer;
}

// A mapfile for a disk this user may not open is measured against the disk's own size, which
// sysfs gives without opening it.
TEST_F(CliDeviceRights, AMapfileOfADiskNobodyMayOpenIsMeasuredAgainstTheWholeDisk) {
    std::string why;
    const std::string standIn = StandIn(0, why);
    if (standIn.empty()) GTEST_SKIP() << why;
    const std::string map = scratch.file("whole.map");
    const uintmax_t bytes = fs::file_size(image);
    if (FILE* file = std::fopen(map.c_str(), "w")) {
        std::fprintf(file, "0x0 +\n0x0 0x%jx +\n", bytes);
        std::fclose(file);
    }
    ASSERT_EQ(chmod(map.c_str(), 0644), 0);
    const std::string answer = test::RunAsNobody(standIn, [&] {
        return RunCommandLine("--no-drives --image " + loop->device() + " --mapfile " + map + " pools --drive 0");
    });
    EXPECT_NE(answer.find("RIGHTS"), std::string::npos) << answer;
    EXPECT_EQ(answer.find("mapfile covers"), std::string::npos) << answer;
    EXPECT_TRUE(answer.ends_with("exit 0\n")) << answer;
}

// In the F mode the BIOS libraries read the disk, through the descriptor the helper passed to
// the program: they never open it by name.
TEST_F(CliDeviceRights, TheBiosLibrariesReadADiskGivenAsAnImageThroughTheHelper) {
    std::string why;
    const std::string standIn = StandIn(0, why);
    if (standIn.empty()) GTEST_SKIP() << why;
    const std::string bios = "--access-mode=F --image " + loop->device() + " ";
    const std::string answer = test::RunAsNobody(standIn, [&] {
        if (access(loop->device().c_str(), R_OK) == 0) return std::string("nobody may read the disk itself");
        return RunCommandLine(bios + "drives --json") + "--\n" + RunCommandLine(bios + "pools --drive 0") + "--\n" +
               RunCommandLine(bios + "volumes --drive 0 --pool 0") + "--\n" +
               RunCommandLine(bios + "list --drive 0 --pool 0 --volume 0");
    });
    EXPECT_NE(answer.find("\"path\":\"" + loop->device() + "\""), std::string::npos) << answer;
    EXPECT_EQ(answer.find("\"totalSectors\":0"), std::string::npos) << answer;
    EXPECT_NE(answer.find("RIGHTS"), std::string::npos) << answer;
    EXPECT_NE(answer.find("DATA"), std::string::npos) << answer;
    EXPECT_NE(answer.find("report.txt"), std::string::npos) << answer;
    EXPECT_EQ(answer.find("cannot open"), std::string::npos) << answer;
    EXPECT_EQ(answer.find("exit 0\n--\nexit"), std::string::npos) << answer;
    size_t successes = 0;
    for (size_t at = answer.find("exit 0\n"); at != std::string::npos; at = answer.find("exit 0\n", at + 1))
        ++successes;
    EXPECT_EQ(successes, 4u) << answer;
}

TEST_F(CliDeviceRights, RightsRefusedByPkexecAreSaidWithSudoAsTheWayOut) {
    for (int status : {126, 127}) {
        std::string why;
        const std::string standIn = StandIn(status, why);
        if (standIn.empty()) GTEST_SKIP() << why;
        const std::string answer = test::RunAsNobody(standIn, [&] {
            return RunCommandLine("pools --drive " + loop->device()) + "--\n" +
                   RunCommandLine("--access-mode=F --image " + loop->device() + " pools --drive 0");
        });
        const std::string refused = ": administrator rights were not given (pkexec ended with " +
                                    std::to_string(status) +
                                    "); run with sudo where no authentication agent can ask for them\nexit 1\n";
        // Both access modes say it alike.
        const size_t normal = answer.find(refused);
        EXPECT_NE(normal, std::string::npos) << answer;
        EXPECT_NE(answer.find(refused, normal + 1), std::string::npos) << answer;
        EXPECT_EQ(answer.find("RIGHTS"), std::string::npos) << answer;
    }
}

}  // namespace
}  // namespace lumbra
