#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

#include "disk/sysfs_disks.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;

class SysfsDisksTest : public ::testing::Test {
protected:
    // A disk folder with these attributes (an empty text leaves the attribute out) and a node.
    void Disk(const std::string& name, const std::string& size, const std::string& removable, const std::string& ro,
              const std::string& model, bool node = true) {
        const fs::path entry = sys / name;
        fs::create_directories(entry / "device");
        if (!size.empty()) std::ofstream(entry / "size") << size << "\n";
        if (!removable.empty()) std::ofstream(entry / "removable") << removable << "\n";
        if (!ro.empty()) std::ofstream(entry / "ro") << ro << "\n";
        if (!model.empty()) std::ofstream(entry / "device" / "model") << model << "\n";
        if (node) std::ofstream(dev / name) << "";
    }

    test::ScratchFolder scratch{"sysfs"};
    fs::path sys = scratch.path() / "block";
    fs::path dev = scratch.path() / "dev";
    SystemPaths paths{sys.string(), dev.string()};

    void SetUp() override {
        fs::create_directories(sys);
        fs::create_directories(dev);
    }
};

TEST_F(SysfsDisksTest, ModelSizeRemovableAndReadOnlyComeFromSysfsAlone) {
    Disk("sdb", "1000", "1", "1", "  CARD READER  ");
    Disk("sda", "8388608", "0", "0", "FIXED DISK");
    // A node the program may not even look into is still listed: nothing is opened.
    fs::permissions(dev / "sda", fs::perms::none);
    const auto disks = ListSysfsDisks(paths);
    ASSERT_EQ(disks.size(), 2u);
    EXPECT_EQ(disks[0].name, "sda");
    EXPECT_EQ(disks[0].devicePath, (dev / "sda").string());
    EXPECT_EQ(disks[0].model, "FIXED DISK");
    EXPECT_EQ(disks[0].sizeBytes, uint64_t{8388608} * 512);
    EXPECT_FALSE(disks[0].removable);
    EXPECT_FALSE(disks[0].readOnly);
    EXPECT_EQ(disks[1].model, "CARD READER");
    EXPECT_EQ(disks[1].sizeBytes, 1000u * 512);
    EXPECT_TRUE(disks[1].removable);
    EXPECT_TRUE(disks[1].readOnly);
    EXPECT_FALSE(disks[1].usb);
}

TEST_F(SysfsDisksTest, SizesThatAreNoNumberOrOverflowCountAsNoMedium) {
    Disk("sda", "12x", "1", "", "");
    Disk("sdb", "36028797018963967", "1", "", "");  // the largest count whose bytes fit 64 bits
    Disk("sdc", "36028797018963968", "1", "", "");
    Disk("sdd", "", "1", "", "");
    const auto disks = ListSysfsDisks(paths);
    ASSERT_EQ(disks.size(), 4u);
    EXPECT_EQ(disks[0].sizeBytes, 0u);
    EXPECT_EQ(disks[1].sizeBytes, 36028797018963967u * 512);
    EXPECT_EQ(disks[2].sizeBytes, 0u);
    EXPECT_EQ(disks[3].sizeBytes, 0u);
    EXPECT_EQ(disks[3].model, "sdd");
}

TEST_F(SysfsDisksTest, ADiskWithASizeButNoNodeIsGone) {
    Disk("sda", "100", "0", "0", "GONE", false);
    Disk("sdb", "0", "1", "0", "EMPTY READER", false);
    const auto disks = ListSysfsDisks(paths);
    ASSERT_EQ(disks.size(), 1u);
    EXPECT_EQ(disks[0].name, "sdb");
}

// A block device node is sized by its device number under the given folder, without opening it.
TEST_F(SysfsDisksTest, ABlockDeviceIsSizedByItsNumberAndNothingElseIs) {
    const fs::path node = dev / "disk7";
    if (::mknod(node.c_str(), S_IFBLK | 0600, makedev(7, 99)) != 0) GTEST_SKIP() << "making a device node needs root";
    const fs::path numbers = scratch.path() / "dev-block";
    fs::create_directories(numbers / "7:99");
    std::ofstream(numbers / "7:99" / "size") << "2048\n";
    EXPECT_EQ(SysfsBlockDeviceSize(node.string(), numbers.string()), uint64_t{2048} * 512);
    std::ofstream(numbers / "7:99" / "size") << "0\n";
    EXPECT_EQ(SysfsBlockDeviceSize(node.string(), numbers.string()), std::nullopt);
    std::ofstream(dev / "plain") << "data";
    EXPECT_EQ(SysfsBlockDeviceSize((dev / "plain").string(), numbers.string()), std::nullopt);
    EXPECT_EQ(SysfsBlockDeviceSize("/dev/null", numbers.string()), std::nullopt);
    EXPECT_EQ(SysfsBlockDeviceSize((dev / "missing").string(), numbers.string()), std::nullopt);
}

}  // namespace
}  // namespace lumbra
