// A snapshot is found again under the name it was saved with, and a load that fails says which
// file it read and why.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli_recovery_fixture.h"

namespace lumbra::test {
namespace {

CliImage SmallDisk() {
    VolumePlan volume{.name = "DATA"};
    volume.addFile("Report.doc", 0, 100);
    return CliImage(NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build(), "cli_snapshot_names");
}

TEST(CliSnapshotNames, TheNameTypedAtSavingFindsTheFileWritten) {
    const CliImage disk = SmallDisk();
    const CliRun saved = disk.run({"snapshot-save", disk.scratch("users.qvdx"), "--drive", "0", "--pool", "0", "--volume", "0"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_EQ(saved.out, "Saved " + disk.scratch("USERS.QVDX") + "\n");
    EXPECT_TRUE(std::filesystem::exists(disk.scratch("USERS.QVDX")));
    for (const std::string typed : {"users.qvdx", "users", "USERS.QVDX"}) {
        const CliRun list = disk.run({"list", "--snapshot", disk.scratch(typed)});
        EXPECT_EQ(list.exitCode, 0) << typed << ": " << list.err;
        EXPECT_NE(list.out.find("\\Report.doc"), std::string::npos) << typed;
    }
    EXPECT_EQ(disk.run({"snapshot-show", disk.scratch("users")}).exitCode, 0);
}

TEST(CliSnapshotNames, AFailedLoadNamesThePathAndTheReason) {
    const CliImage disk = SmallDisk();
    std::filesystem::create_directories(disk.scratch("folder.qvdx"));
    CliRun run = disk.run({"list", "--snapshot", disk.scratch("folder.qvdx")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "lumbra-nss-cli: cannot load the snapshot " + disk.scratch("folder.qvdx") +
                           ": Unable to open the recovery snapshot. (it is a folder)\n");
    EXPECT_EQ(disk.run({"snapshot-show", disk.scratch("folder.qvdx")}).exitCode, 2);

    run = disk.run({"snapshot-show", disk.scratch("missing.qvdx")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "lumbra-nss-cli: cannot load the snapshot " + disk.scratch("missing.qvdx") +
                           ": Unable to open the recovery snapshot. (No such file or directory)\n");

    std::ofstream(disk.scratch("CUT.QVDX"), std::ios::binary) << "qvd4.031.0";
    run = disk.run({"list", "--snapshot", disk.scratch("CUT.QVDX")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "lumbra-nss-cli: cannot load the snapshot " + disk.scratch("CUT.QVDX") +
                           ": The recovery snapshot is damaged or incomplete and was not loaded. (damaged or cut short)\n");
}

}  // namespace
}  // namespace lumbra::test
