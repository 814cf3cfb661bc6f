// Whether a destination lies on the disk being recovered: against a sysfs tree built in a
// scratch folder, and once for real with a loop-mounted file system where the machine allows.
#include "disk/source_disk.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

#include "disk/loop_backing.h"
#include "support/loop_mount.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;

// A sysfs with the disk sdz (8:0) and its partition sdz1 (8:1), the disk sdy (8:16), and the
// loop device loop7 (7:7) with its partition loop7p1 (259:3), backed by `image`.
class FakeSysfs {
public:
    FakeSysfs(const test::ScratchFolder& folder, const std::string& image) : root_(folder.path() / "sys") {
        addDevice("block/sdz", "8:0");
        addDevice("block/sdz/sdz1", "8:1", true);
        addDevice("block/sdy", "8:16");
        addLoop("loop7", "7:7", image);
        addDevice("block/loop7/loop7p1", "259:3", true);
    }
    std::string root() const { return root_.string(); }

    void addLoop(const std::string& name, const std::string& number, const std::string& backing) {
        addDevice("block/" + name, number);
        fs::create_directories(root_ / "block" / name / "loop");
        std::ofstream(root_ / "block" / name / "loop/backing_file") << backing << "\n";
    }
    void addDevice(const std::string& place, const std::string& number, bool partition = false) {
        fs::create_directories(root_ / place);
        std::ofstream(root_ / place / "dev") << number << "\n";
        if (partition) std::ofstream(root_ / place / "partition") << "1\n";
        fs::create_directories(root_ / "dev/block");
        fs::create_symlink(fs::path("../..") / place, root_ / "dev/block" / number);
    }

private:
    fs::path root_;
};

SourceIdentity Device(unsigned major, unsigned minor) { return {true, makedev(major, minor), 0}; }

class SourceDisk : public ::testing::Test {
protected:
    SourceDisk() { std::ofstream(image) << "an image"; }
    test::ScratchFolder folder{"source_disk"};
    std::string image = folder.file("disk.img");
    FakeSysfs sys{folder, image};
};

TEST_F(SourceDisk, AFolderOnTheSourceDiskOrOneOfItsPartitionsIsOnTheSource) {
    EXPECT_EQ(WholeDiskOf(makedev(8, 1), sys.root()), makedev(8, 0));
    EXPECT_TRUE(DeviceOnSource(makedev(8, 1), Device(8, 0), sys.root()));
    EXPECT_TRUE(DeviceOnSource(makedev(8, 0), Device(8, 0), sys.root()));
    EXPECT_TRUE(DeviceOnSource(makedev(8, 0), Device(8, 1), sys.root()));
}

TEST_F(SourceDisk, AFolderOnAnotherDiskOrOnNoDiskIsNot) {
    EXPECT_FALSE(DeviceOnSource(makedev(8, 16), Device(8, 0), sys.root()));
    EXPECT_FALSE(DeviceOnSource(makedev(0, 45), Device(8, 0), sys.root()));
    EXPECT_EQ(WholeDiskOf(makedev(0, 45), sys.root()), std::nullopt);
}

TEST_F(SourceDisk, AFolderOnALoopDeviceTheImageBacksIsOnTheSource) {
    const auto source = IdentifySource(image);
    ASSERT_TRUE(source);
    EXPECT_FALSE(source->blockDevice);
    EXPECT_TRUE(DeviceOnSource(makedev(7, 7), *source, sys.root()));
    EXPECT_TRUE(DeviceOnSource(makedev(259, 3), *source, sys.root()));
    EXPECT_FALSE(DeviceOnSource(makedev(8, 1), *source, sys.root()));
    std::ofstream(folder.file("another.img")) << "another image";
    EXPECT_FALSE(DeviceOnSource(makedev(7, 7), *IdentifySource(folder.file("another.img")), sys.root()));
}

// A loop device stands for the image it reads: two over one image are one disk, and one whose
// image lies on a disk lies on that disk. Here the scratch folder's file system is sdz2.
TEST_F(SourceDisk, LoopDevicesStandForTheImageTheyRead) {
    std::ofstream(folder.file("another.img")) << "another image";
    sys.addLoop("loop6", "7:6", image);
    sys.addLoop("loop5", "7:5", folder.file("another.img"));
    struct stat scratch {};
    ASSERT_EQ(::stat(image.c_str(), &scratch), 0);
    sys.addDevice("block/sdz/sdz2", DeviceNumberText(scratch.st_dev), true);
    struct Case {
        const char* what;
        dev_t folder;
        SourceIdentity source;
        bool onSource;
    };
    const Case cases[] = {
        {"another loop device over the image", makedev(7, 6), Device(7, 7), true},
        {"the partition of another loop device over it", makedev(259, 3), Device(7, 6), true},
        {"a loop device over another image", makedev(7, 5), Device(7, 7), false},
        {"a loop device whose image lies on the disk", makedev(7, 6), Device(8, 0), true},
        {"a loop device whose image lies on another disk", makedev(7, 6), Device(8, 16), false},
        {"the image itself read through its loop device", makedev(7, 6), *IdentifySource(image), true},
    };
    for (const Case& one : cases)
        EXPECT_EQ(DeviceOnSource(one.folder, one.source, sys.root()), one.onSource) << one.what;
    const auto backing = LoopBackingOf(makedev(259, 3), sys.root());
    ASSERT_TRUE(backing);
    EXPECT_EQ(backing->path, image);
    EXPECT_TRUE(backing->isFile({scratch.st_dev, scratch.st_ino}));
    EXPECT_FALSE(LoopBackingOf(makedev(8, 1), sys.root()));
}

TEST_F(SourceDisk, TheFileSystemHoldingAnImageIsNotTheSource) {
    EXPECT_FALSE(FolderOnSource(folder.file("out/not/made/yet"), image));
}

// A file system made in a file, attached to a loop device and mounted: a folder in it lies on
// the loop device and on the file; a folder elsewhere does not.
TEST(SourceDiskForReal, AMountedLoopFileSystemIsTheSourceAndAnUnrelatedFolderIsNot) {
    test::ScratchFolder folder("source_disk_real");
    const std::string file = folder.file("ext2.img");
    const std::string mountPoint = folder.file("mnt");
    fs::create_directories(mountPoint);
    std::ofstream(file, std::ios::binary).close();
    fs::resize_file(file, 8 << 20);
    const test::LoopMount mount(file, 0, 8 << 20, mountPoint);
    if (!mount.mounted()) GTEST_SKIP() << mount.why();

    EXPECT_TRUE(FolderOnSource(mountPoint + "/recovered", mount.device()));
    EXPECT_TRUE(FolderOnSource(mountPoint, file));
    EXPECT_FALSE(FolderOnSource(folder.file("recovered"), mount.device()));
    EXPECT_FALSE(FolderOnSource(folder.file("recovered"), file));
}

}  // namespace
}  // namespace lumbra
