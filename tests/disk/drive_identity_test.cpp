// A drive is known again by its serial and size (a device) or its path, size and time (an
// image), and a changed image is another drive.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>

#include "disk/drive_identity.h"
#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace lumbra::test {
namespace {

namespace fs = std::filesystem;

TEST(DriveIdentity, AnImageIsItsPathSizeAndTime) {
    ScratchFolder folder("identity");
    const std::string image = folder.file("disk.img");
    WriteWholeFile(image, std::string(1024, 'x'));
    const std::string first = DriveIdentity(image);
    EXPECT_EQ(first.rfind("image path=" + fs::absolute(image).lexically_normal().string() + " bytes=1024 mtime=", 0), 0u)
        << first;
    EXPECT_EQ(DriveIdentity(image), first);
    // The same file named another way is the same drive.
    EXPECT_EQ(DriveIdentity((folder.path() / "." / "disk.img").string()), first);

    fs::last_write_time(image, fs::last_write_time(image) + std::chrono::seconds(5));
    EXPECT_NE(DriveIdentity(image), first);
    const std::string touched = DriveIdentity(image);
    WriteWholeFile(image, std::string(1024, 'x'));
    EXPECT_NE(DriveIdentity(image), touched);
    EXPECT_EQ(DriveIdentity(folder.file("missing.img")), "");
    EXPECT_EQ(DriveIdentity(""), "");
}

// A device node in the scratch folder and a sysfs of its own for it.
struct FakeDevice {
    explicit FakeDevice(const ScratchFolder& folder) {
        node = folder.file("sdz");
        sysRoot = folder.file("sys");
        entry = fs::path(sysRoot) / "devices" / "sdz";
        fs::create_directories(entry / "device");
        fs::create_directories(fs::path(sysRoot) / "dev" / "block");
        fs::create_directory_symlink(entry, fs::path(sysRoot) / "dev" / "block" / "7:250");
        WriteWholeFile(entry / "size", "976773168\n");
        available = ::mknod(node.c_str(), S_IFBLK | 0600, makedev(7, 250)) == 0;
    }
    std::string node, sysRoot;
    fs::path entry;
    bool available = false;
};

TEST(DriveIdentity, ADeviceIsItsSerialAndSize) {
    ScratchFolder folder("identity");
    FakeDevice device(folder);
    if (!device.available) GTEST_SKIP() << "no right to make a device node";
    WriteWholeFile(device.entry / "device" / "serial", "  WD-WCC4E1234567 \n");
    EXPECT_EQ(DriveIdentity(device.node, device.sysRoot), "device serial=WD-WCC4E1234567 sectors=976773168");
    // Without a serial: the world-wide name, then a loop device's backing file, then the node.
    fs::remove(device.entry / "device" / "serial");
    WriteWholeFile(device.entry / "wwid", "naa.5000c500a1b2c3d4\n");
    EXPECT_EQ(DriveIdentity(device.node, device.sysRoot), "device serial=naa.5000c500a1b2c3d4 sectors=976773168");
    fs::remove(device.entry / "wwid");
    EXPECT_EQ(DriveIdentity(device.node, device.sysRoot), "device serial=" + device.node + " sectors=976773168");
}

}  // namespace
}  // namespace lumbra::test
