#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "disk/disk_access.h"
#include "disk/drive_table.h"
#include "disk/linux_drives.h"
#include "disk/sector.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;

TEST(DriveGeometry, TotalSectorsIsTheProductClampedInsteadOfWrapped) {
    EXPECT_EQ(ClampedTotalSectors(4865, 255, 63), 78156225u);
    EXPECT_EQ(78156225u / 2048, 38162u);
    EXPECT_EQ(ClampedTotalSectors(0, 255, 63), 0u);
    EXPECT_EQ(ClampedTotalSectors(400000, 255, 63), 4294967295u);
    EXPECT_EQ(ClampedTotalSectors(4294967295u, 4294967295u, 4294967295u), 4294967295u);
}

TEST(DriveGeometry, CylindersAreTheWholeOnesThatFitAndTheRealSizeIsKept) {
    const DriveEntry row = GeometryForSize(16065 * kSectorSize + 1);
    EXPECT_EQ(row.heads, 255u);
    EXPECT_EQ(row.sectorsPerTrack, 63u);
    EXPECT_EQ(row.cylinders, 1u);
    EXPECT_EQ(row.totalSectors, 16065u);
    EXPECT_EQ(row.sizeInSectors(), 16066u);
    EXPECT_EQ(row.sizeInSectors(), 16066u);
    EXPECT_EQ(GeometryForSize(16065 * kSectorSize).cylinders, 1u);
    EXPECT_EQ(GeometryForSize(16064 * kSectorSize).cylinders, 0u);
    EXPECT_EQ(GeometryForSize(16064 * kSectorSize).sizeInSectors(), 16064u);
    EXPECT_EQ(GeometryForSize(0).cylinders, 0u);
    EXPECT_EQ(GeometryForSize(0).sizeInSectors(), 0u);

    // The demo image: 31 whole cylinders, never the 514080 sectors of 32.
    const DriveEntry demo = GeometryForSize(uint64_t{499712} * kSectorSize);
    EXPECT_EQ(demo.cylinders, 31u);
    EXPECT_EQ(demo.totalSectors, 498015u);
    EXPECT_EQ(demo.sizeInSectors(), 499712u);
    // A megabyte shows as one.
    EXPECT_EQ(GeometryForSize(1 << 20).sizeInSectors() / 2048, 1u);
}

TEST(DriveGeometry, WithoutARealSizeTheGeometrysProductIsTheSize) {
    DriveEntry bios;
    bios.totalSectors = 3024;
    EXPECT_EQ(bios.sizeInSectors(), 3024u);
    EXPECT_EQ(WholeCylinders(uint64_t{1} << 62, 255, 63), 4294967295u);
    EXPECT_EQ(WholeCylinders(100000, 0, 63), 0u);
}

TEST(DriveGeometry, NaturalNameOrder) {
    EXPECT_TRUE(NaturalLess("loop2", "loop10"));
    EXPECT_TRUE(NaturalLess("sda", "sdb"));
    EXPECT_FALSE(NaturalLess("sdb", "sda"));
    EXPECT_FALSE(NaturalLess("loop10", "loop10"));
}

// A /sys/block and /dev of our own: each disk a folder with size, removable and a model; the
// device nodes are small files.
class FakeSystem : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root / "sys" / "block");
        fs::create_directories(root / "dev");
        fs::create_directories(root / "devices" / "pci0000:00" / "usb1" / "1-1");
    }

    void disk(const std::string& name, uint64_t sectors, const std::string& model, bool removable = false,
              bool node = true, bool usb = false) {
        fs::path entry = root / "sys" / "block" / name;
        if (usb) {
            const fs::path real = root / "devices" / "pci0000:00" / "usb1" / "1-1" / name;
            fs::create_directories(real);
            fs::create_directory_symlink(real, entry);
        } else {
            fs::create_directories(entry);
        }
        fs::create_directories(entry / "device");
        std::ofstream(entry / "size") << sectors << "\n";
        std::ofstream(entry / "removable") << (removable ? 1 : 0) << "\n";
        std::ofstream(entry / "device" / "model") << model << "   \n";
        if (node) {
            std::ofstream out(root / "dev" / name, std::ios::binary);
            std::vector<char> bytes(sectors * kSectorSize, 0);
            out.write(bytes.data(), bytes.size());
        }
    }

    SystemPaths paths() const { return {(root / "sys" / "block").string(), (root / "dev").string()}; }

    test::ScratchFolder scratch{"fake_sys"};
    fs::path root = scratch.path();
};

TEST_F(FakeSystem, AbsentDeviceLeavesNoGapInTheRows) {
    disk("sda", 100, "DISK ZERO");
    disk("sdb", 100, "GONE", false, false);
    disk("sdc", 200, "DISK TWO");
    disk("ram0", 100, "RAM");
    const auto rows = ListLinuxDisks(paths());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].model, "DISK ZERO");
    EXPECT_EQ(rows[1].model, "DISK TWO");
    EXPECT_EQ(rows[1].path, (root / "dev" / "sdc").string());
    EXPECT_EQ(DriveLabel(1), "Storage Device1");
}

TEST_F(FakeSystem, CardReaderWithoutCardAndUsbDisk) {
    disk("sdd", 0, "CARD READER", true, false);
    disk("sde", 300, "SOME STICK", true, true, true);
    disk("loop0", 0, "", false, false);
    const auto rows = ListLinuxDisks(paths());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].model, "Media missing or not inserted");
    EXPECT_EQ(rows[0].cylinders, 0u);
    EXPECT_EQ(rows[0].heads, 0u);
    EXPECT_EQ(rows[0].sectorsPerTrack, 0u);
    EXPECT_EQ(rows[0].totalSectors, 0u);
    EXPECT_EQ(rows[1].model, "USB Device");
    EXPECT_EQ(rows[1].heads, 255u);
    EXPECT_EQ(rows[1].sectorsPerTrack, 63u);
}

TEST_F(FakeSystem, ImagesFollowTheDisksAndReadThroughTheirRow) {
    disk("sda", 100, "DISK ZERO");
    const fs::path image = root / "pool.img";
    {
        std::ofstream out(image, std::ios::binary);
        std::vector<char> bytes(4 * kSectorSize, 'x');
        bytes[3 * kSectorSize] = 'y';
        out.write(bytes.data(), bytes.size());
    }
    DiskAccess access(AccessMode::N);
    DriveSources sources;
    sources.systemPaths = paths();
    sources.images = {image.string()};
    ASSERT_EQ(access.EnumerateDrives(sources, ""), std::nullopt);
    ASSERT_EQ(access.driveTable().count(), 2);
    EXPECT_EQ(access.driveTable().rows[1].model, "pool.img");
    auto reader = access.OpenDrive(1, 3);
    std::vector<uint8_t> buffer(kSectorSize);
    EXPECT_EQ(reader->ReadSectors(3, 1, buffer.data()), 1);
    EXPECT_EQ(buffer[0], 'y');
}

TEST_F(FakeSystem, TableStopsAtThirtyTwoRows) {
    DiskAccess access(AccessMode::N);
    DriveSources sources;
    sources.listSystemDisks = false;
    const fs::path image = root / "one.img";
    std::ofstream(image) << "x";
    sources.images.assign(40, image.string());
    access.EnumerateDrives(sources, "");
    EXPECT_EQ(access.driveTable().count(), 32);
    EXPECT_EQ(access.addImageRow(image.string()), std::nullopt);
}

// An image of 0 bytes holds no sector: it is refused when opened. One byte is a sector, partly
// there; every image row keeps its exact size beside the geometry.
TEST_F(FakeSystem, AnEmptyImageIsRefusedAndEveryImageKeepsItsExactSize) {
    DiskAccess access(AccessMode::N);
    const fs::path empty = root / "empty.img";
    std::ofstream(empty).flush();
    const fs::path tiny = root / "tiny.img";
    std::ofstream(tiny) << "x";
    DriveSources sources;
    sources.listSystemDisks = false;
    sources.images = {empty.string(), tiny.string()};
    access.EnumerateDrives(sources, "");
    ASSERT_EQ(access.driveTable().count(), 1);
    EXPECT_EQ(access.driveTable().rows[0].path, tiny.string());
    EXPECT_EQ(access.driveTable().rows[0].sizeBytes, 1u);
    EXPECT_EQ(access.driveTable().rows[0].totalSectors, 0u);  // no whole cylinder
    EXPECT_EQ(access.imageErrors(),
              std::vector<std::string>{"cannot open image " + empty.string() + ": the image is empty"});
    std::string why;
    EXPECT_EQ(access.addImageRow(empty.string(), &why), std::nullopt);
    EXPECT_EQ(why, "the image is empty");
}

TEST_F(FakeSystem, UnopenableImageIsNoRowAndSaysWhy) {
    DiskAccess access(AccessMode::N);
    DriveSources sources;
    sources.listSystemDisks = false;
    const fs::path good = root / "good.img";
    std::ofstream(good) << std::string(kSectorSize, 'g');
    const std::string missing = (root / "missing.img").string();
    // A pipe would hold the open and every read; /dev/zero never ends.
    const std::string pipe = (root / "pipe.img").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    sources.images = {missing, good.string(), root.string(), pipe, "/dev/zero"};
    access.EnumerateDrives(sources, "");
    ASSERT_EQ(access.driveTable().count(), 1);
    EXPECT_EQ(access.driveTable().rows[0].path, good.string());
    const std::string notADisk = ": is neither a disk nor an image file (a pipe, a socket or a character device)";
    EXPECT_EQ(access.imageErrors(),
              (std::vector<std::string>{"cannot open image " + missing + ": No such file or directory",
                                        "cannot open image " + root.string() + ": is a folder, not a disk or an image",
                                        "cannot open image " + pipe + notADisk,
                                        "cannot open image /dev/zero" + notADisk}));
    std::string why;
    auto reader = access.OpenDrive(1, 3, &why);
    EXPECT_FALSE(why.empty());
    std::vector<uint8_t> buffer(kSectorSize, 7);
    EXPECT_EQ(reader->ReadSectors(0, 1, buffer.data()), 0);
    EXPECT_EQ(buffer[0], 7);
}

}  // namespace
}  // namespace lumbra
