#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "disk/bios_disk_list.h"
#include "disk/bios_disk_offer.h"
#include "disk/chs_address.h"
#include "disk/disk_access.h"
#include "disk/sector.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

TEST(ChsTranslation, FixedSixteenHeadsSixtyThreeSectors) {
    struct Case { uint32_t linear, c, h, s; };
    for (const Case& k : {Case{0, 0, 0, 1}, Case{62, 0, 0, 63}, Case{63, 0, 1, 1}, Case{1007, 0, 15, 63},
                          Case{1008, 1, 0, 1}}) {
        const ChsAddress chs = TranslateChs(k.linear);
        EXPECT_EQ(chs.cylinder, k.c) << k.linear;
        EXPECT_EQ(chs.head, k.h) << k.linear;
        EXPECT_EQ(chs.sectorInTrack, k.s) << k.linear;
    }
}

TEST(BiosAccess, EmulatedLibrariesListAndReadTheImage) {
    test::ScratchFolder scratch("bios_image");
    const std::string image = scratch.numberedImage("disk.img", 3000);
    setenv("LUMBRA_BIOS_DISKS", image.c_str(), 1);
    DiskAccess access(AccessMode::F);
    ASSERT_EQ(access.EnumerateDrives({}, std::string(LUMBRA_BIN_DIR) + "/"), std::nullopt);
    ASSERT_EQ(access.driveTable().count(), 1);
    const DriveEntry& row = access.driveTable().rows[0];
    EXPECT_EQ(row.model, "Unknown");
    EXPECT_EQ(row.heads, 16u);
    EXPECT_EQ(row.sectorsPerTrack, 63u);
    EXPECT_EQ(row.cylinders, 3u);  // 3000 sectors rounded up to whole cylinders of 1008
    EXPECT_EQ(row.totalSectors, 3024u);
    auto reader = access.OpenDrive(0, 3);
    std::vector<uint8_t> buffer(2 * kSectorSize);
    EXPECT_EQ(reader->ReadSectors(1008, 2, buffer.data()), 1);
    EXPECT_EQ(buffer[0], static_cast<uint8_t>(1008 * 7 + 1));
    EXPECT_EQ(buffer[kSectorSize], static_cast<uint8_t>(1009 * 7 + 1));
    EXPECT_EQ(reader->ReadSectors(2999, 2, buffer.data()), 0);
    EXPECT_EQ(buffer[kSectorSize], 0);
}

// The images of the command line: the program opens them, the libraries read what it opened,
// and an image that cannot be opened keeps its row and says why when the row is opened.
TEST(BiosAccess, TheProgramOpensTheImagesForTheLibraries) {
    test::ScratchFolder scratch("bios_offer");
    const std::vector<std::string> images = {scratch.numberedImage("a.img", 1008), scratch.file("missing.img"),
                                             scratch.numberedImage("b.img", 2016)};
    unsetenv(bios_disk_list::kVariable);
    EXPECT_FALSE(BiosLibrariesTakeImages({}));
    ASSERT_TRUE(BiosLibrariesTakeImages(images));
    DiskAccess access(AccessMode::F);
    const DriveSources sources{.images = images, .imagesAreBiosDrives = true};
    ASSERT_EQ(access.EnumerateDrives(sources, std::string(LUMBRA_BIN_DIR) + "/"), std::nullopt);
    // The list named descriptors of this process, and only while the libraries read it.
    EXPECT_EQ(std::getenv(bios_disk_list::kVariable), nullptr);
    ASSERT_EQ(access.driveTable().count(), 3);
    std::vector<uint8_t> buffer(kSectorSize);
    for (const auto& [row, cylinders] : {std::pair<size_t, uint32_t>{0, 1}, {2, 2}}) {
        EXPECT_EQ(access.driveTable().rows[row].path, images[row]);
        EXPECT_EQ(access.driveTable().rows[row].cylinders, cylinders);
        std::string why;
        auto reader = access.OpenDrive(row, 3, &why);
        EXPECT_EQ(why, "");
        EXPECT_EQ(reader->ReadSectors(1000, 1, buffer.data()), 1);
        EXPECT_EQ(buffer[0], static_cast<uint8_t>(1000 * 7 + 1));
    }
    EXPECT_EQ(access.driveTable().rows[1].path, images[1]);
    EXPECT_EQ(access.driveTable().rows[1].totalSectors, 0u);
    std::string why;
    OpenFailure failure = OpenFailure::None;
    auto missing = access.OpenDrive(1, 3, &why, &failure);
    EXPECT_EQ(why, "No such file or directory");
    EXPECT_EQ(failure, OpenFailure::Error);
    EXPECT_EQ(missing->ReadSectors(0, 1, buffer.data()), 0);

    setenv(bios_disk_list::kVariable, images[0].c_str(), 1);
    EXPECT_FALSE(BiosLibrariesTakeImages(images));
    unsetenv(bios_disk_list::kVariable);
}

TEST(BiosAccess, MissingLibraryIsFatalWithItsMessage) {
    DiskAccess access(AccessMode::F);
    test::ScratchFolder empty("no_libraries");
    EXPECT_EQ(access.EnumerateDrives({}, empty.path().string() + "/"), "Disk32.dll not found or corrupted");
}

TEST(BiosAccess, LibraryWithoutEntriesIsCorrupted) {
    // The geometry library has none of the read entries.
    test::ScratchFolder scratch("swapped_libraries");
    const auto& folder = scratch.path();
    std::filesystem::copy_file(std::string(LUMBRA_BIN_DIR) + "/libdisk2.so", folder / "libDisk32.so",
                               std::filesystem::copy_options::overwrite_existing);
    DiskAccess access(AccessMode::F);
    EXPECT_EQ(access.EnumerateDrives({}, folder.string() + "/"), "Disk32.dll is corrupted");
    std::filesystem::copy_file(std::string(LUMBRA_BIN_DIR) + "/libDisk32.so", folder / "libDisk32.so",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(access.EnumerateDrives({}, folder.string() + "/"), "Disk2.dll is corrupted or not found.");
    std::filesystem::copy_file(std::string(LUMBRA_BIN_DIR) + "/libDisk32.so", folder / "libdisk2.so",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(access.EnumerateDrives({}, folder.string() + "/"), "Disk2.dll is corrupted");
}

}  // namespace
}  // namespace lumbra
