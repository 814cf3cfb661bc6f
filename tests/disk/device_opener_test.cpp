#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "disk/device_opener.h"
#include "support/device_rights.h"
#include "support/fake_system_disks.h"
#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;

// PATH for the time of a test.
class SearchPath {
public:
    explicit SearchPath(const std::string& path) : saved_(std::getenv("PATH") ? std::getenv("PATH") : "") {
        setenv("PATH", path.c_str(), 1);
    }
    ~SearchPath() { setenv("PATH", saved_.c_str(), 1); }

private:
    std::string saved_;
};

class DeviceOpenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        chmod(scratch.path().c_str(), 0755);
        chmod(scratch.path().parent_path().c_str(), 0755);
    }

    // A block device node outside /dev that only root may open, of a device no driver serves
    // (major 240 is kept for local use): the helper refuses it.
    std::string RootOnlyNode() {
        const std::string node = scratch.file("disk");
        if (mknod(node.c_str(), S_IFBLK | 0600, makedev(240, 0)) != 0) return "";
        return node;
    }

    // A folder holding a "pkexec" shell script with this body.
    std::string StandIn(const std::string& name, const std::string& body) {
        const fs::path folder = scratch.path() / name;
        fs::create_directories(folder);
        std::ofstream(folder / "pkexec") << "#!/bin/sh\n" << body << "\n";
        chmod((folder / "pkexec").c_str(), 0755);
        return folder.string();
    }

    test::ScratchFolder scratch{"opener"};
};

TEST_F(DeviceOpenerTest, ImagesAndReadableDisksOpenDirectlyWithoutAskingForRights) {
    const std::string image = scratch.numberedImage("disk.img", 4);
    const SearchPath path(StandIn("never", "exit 99"));
    DeviceOpener opener(test::OpenDeviceHelperPath());
    DeviceOpenResult opened = opener.Open(image);
    ASSERT_TRUE(opened.device);
    EXPECT_EQ(opened.failure, OpenFailure::None);
    EXPECT_EQ(opened.device->sizeBytes(), 4u * 512);

    const DeviceOpenResult missing = opener.Open(scratch.file("missing.img"));
    EXPECT_FALSE(missing.device);
    EXPECT_EQ(missing.failure, OpenFailure::Error);
    EXPECT_EQ(missing.error, "No such file or directory");
}

TEST_F(DeviceOpenerTest, DismissedOrRefusedPkexecMeansRightsNotGiven) {
    const std::string node = RootOnlyNode();
    if (node.empty()) GTEST_SKIP() << "making a block device node needs root";
    for (int status : {kPkexecDismissed, kPkexecNotAuthorised}) {
        const SearchPath path(StandIn("exit" + std::to_string(status), "exit " + std::to_string(status)));
        DeviceOpener opener(test::OpenDeviceHelperPath());
        const test::OrdinaryUser user;
        ASSERT_TRUE(user.active());
        const DeviceOpenResult opened = opener.Open(node);
        EXPECT_FALSE(opened.device);
        EXPECT_EQ(opened.failure, OpenFailure::RightsNotGiven) << status;
        EXPECT_EQ(opened.error, "administrator rights were not given (pkexec ended with " + std::to_string(status) +
                                    "); run with sudo where no authentication agent can ask for them");
    }
    // Another way of ending is no refusal of rights.
    const SearchPath path(StandIn("exit1", "exit 1"));
    DeviceOpener opener(test::OpenDeviceHelperPath());
    const test::OrdinaryUser user;
    EXPECT_EQ(opener.Open(node).failure, OpenFailure::Error);
}

TEST_F(DeviceOpenerTest, WithoutPkexecTheRightsCannotBeAskedFor) {
    const std::string node = RootOnlyNode();
    if (node.empty()) GTEST_SKIP() << "making a block device node needs root";
    const SearchPath path((scratch.path() / "empty").string());
    DeviceOpener opener(test::OpenDeviceHelperPath());
    const test::OrdinaryUser user;
    const DeviceOpenResult opened = opener.Open(node);
    EXPECT_EQ(opened.failure, OpenFailure::NoWayToAsk);
    EXPECT_EQ(opened.error.rfind("pkexec is not installed", 0), 0u) << opened.error;
    EXPECT_EQ(opener.Open(node, RightsQuestion::NotNow).failure, OpenFailure::NoWayToAsk) << "no wait for a question never asked";
}

// One pkexec for the whole run; the helper's reasons come back as the open's error.
TEST_F(DeviceOpenerTest, OnePkexecServesEveryOpenAndPassesTheHelpersReasonOn) {
    const std::string node = RootOnlyNode();
    if (node.empty()) GTEST_SKIP() << "making a block device node needs root";
    const std::string starts = scratch.file("starts");
    std::ofstream(starts).close();
    chmod(starts.c_str(), 0666);
    const SearchPath path(StandIn("counting", "echo started >> '" + starts + "'\nexec \"$1\""));
    DeviceOpener opener(test::OpenDeviceHelperPath());
    {
        const test::OrdinaryUser user;
        for (int i = 0; i < 3; ++i) {
            const DeviceOpenResult opened = opener.Open(node);
            EXPECT_FALSE(opened.device);
            EXPECT_EQ(opened.failure, OpenFailure::Error);
            EXPECT_EQ(opened.error, "the path is not under /dev");
        }
    }
    EXPECT_EQ(test::ReadWholeFile(starts).size(), std::string("started\n").size());
}

TEST_F(DeviceOpenerTest, AMissingHelperIsSaidWithoutStartingPkexec) {
    const std::string node = RootOnlyNode();
    if (node.empty()) GTEST_SKIP() << "making a block device node needs root";
    const SearchPath path(StandIn("never", "exit 126"));
    DeviceOpener opener(scratch.file("no-helper"));
    const test::OrdinaryUser user;
    const DeviceOpenResult opened = opener.Open(node);
    EXPECT_EQ(opened.failure, OpenFailure::Error);
    EXPECT_EQ(opened.error, "the device helper " + scratch.file("no-helper") + " is missing; run with sudo");
}

}  // namespace
}  // namespace lumbra
