// The entries of LUMBRA_BIOS_DISKS as the emulated BIOS libraries read them: a path, or
// "/dev/fd/N", a descriptor the program opened read-only, which the libraries copy and read.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "disk/bios_disk_library.h"
#include "disk/bios_disk_list.h"
#include "disk/sector.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

using bios_disk_list::kDescriptorPrefix;
using bios_disk_list::kVariable;

class BiosDiskEntries : public ::testing::Test {
protected:
    void TearDown() override { unsetenv(kVariable); }

    // The libraries loaded afresh over this list; they read it when first asked.
    static std::unique_ptr<BiosDiskLibrary> Load(const std::string& list) {
        setenv(kVariable, list.c_str(), 1);
        auto loaded = LoadBiosDiskLibrary(std::string(LUMBRA_BIN_DIR) + "/");
        auto* library = std::get_if<std::unique_ptr<BiosDiskLibrary>>(&loaded);
        if (!library) {
            ADD_FAILURE() << std::get<std::string>(loaded);
            return nullptr;
        }
        // Each of the two libraries reads the list on its first call, as at the program's start.
        uint16_t count = 0;
        (*library)->find_hard_disk32(&count);
        Cylinders(**library, 0x80);
        unsetenv(kVariable);
        return std::move(*library);
    }
    static uint16_t Count(BiosDiskLibrary& library) {
        uint16_t count = 0;
        library.find_hard_disk32(&count);
        return count;
    }
    static uint32_t Cylinders(BiosDiskLibrary& library, uint32_t drive) {
        uint32_t cylinders = 0, heads = 0, sectors = 0;
        library.get_drive_geometry32(drive, &cylinders, &heads, &sectors);
        return cylinders;
    }
    // The library's answer for one sector by its linear address, and the sector's first byte.
    static std::pair<int, uint8_t> ReadSector(BiosDiskLibrary& library, uint32_t drive, uint32_t sector) {
        std::vector<uint8_t> buffer(kSectorSize, 0xEE);
        const int result = library.ReadDisk32(drive, 0, 0, 1, 1, buffer.data(), sector, 1);
        return {result, buffer[0]};
    }
    static std::string Entry(int fd) { return std::string(kDescriptorPrefix) + std::to_string(fd); }
    static uint8_t Numbered(uint32_t sector) { return static_cast<uint8_t>(sector * 7 + 1); }

    test::ScratchFolder scratch{"bios_entries"};
    std::string image = scratch.numberedImage("disk.img", 2016);  // two whole cylinders
};

TEST_F(BiosDiskEntries, ADescriptorIsReadThroughACopyAndAPathAsBefore) {
    const int fd = open(image.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    auto library = Load(Entry(fd) + ":" + image);
    ASSERT_TRUE(library);
    // The program's own descriptor may close once the libraries have their disks.
    close(fd);
    ASSERT_EQ(Count(*library), 2);
    for (uint32_t drive : {0x80u, 0x81u}) {
        EXPECT_EQ(Cylinders(*library, drive), 2u) << drive;
        EXPECT_EQ(ReadSector(*library, drive, 1500), std::make_pair(1, Numbered(1500))) << drive;
        EXPECT_EQ(ReadSector(*library, drive, 2016), std::make_pair(0, uint8_t{0})) << drive;
    }
}

// Only a descriptor open read-only on an image file or a disk is served; any other entry of the
// form keeps its place as a drive that reads nothing.
TEST_F(BiosDiskEntries, OnlyAReadOnlyDescriptorOfAFileOrADiskIsServed) {
    const int readOnly = open(image.c_str(), O_RDONLY | O_CLOEXEC);
    const int readWrite = open(image.c_str(), O_RDWR | O_CLOEXEC);
    const int writeOnly = open(image.c_str(), O_WRONLY | O_CLOEXEC);
    const int folder = open(scratch.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int pipeEnds[2];
    ASSERT_EQ(pipe2(pipeEnds, O_CLOEXEC), 0);
    for (int fd : {readOnly, readWrite, writeOnly, folder}) ASSERT_GE(fd, 0);
    const std::vector<std::string> entries = {
        Entry(readOnly),   Entry(readWrite), Entry(writeOnly), Entry(folder), Entry(pipeEnds[0]),
        "/dev/fd/",        "/dev/fd/-1",     "/dev/fd/+" + std::to_string(readOnly),
        Entry(readOnly) + "x", "/dev/fd/ " + std::to_string(readOnly),
        "/dev/fd/2147483647",  // the largest descriptor number, not open
        "/dev/fd/2147483648",  // past any descriptor number
    };
    std::string list;
    for (const std::string& entry : entries) list += (list.empty() ? "" : ":") + entry;
    auto library = Load(list);
    ASSERT_TRUE(library);
    ASSERT_EQ(Count(*library), entries.size());
    for (uint32_t i = 0; i < entries.size(); ++i) {
        const bool served = i == 0;
        EXPECT_EQ(Cylinders(*library, 0x80 + i), served ? 2u : 0u) << entries[i];
        EXPECT_EQ(ReadSector(*library, 0x80 + i, 7), std::make_pair(served ? 1 : 0, served ? Numbered(7) : uint8_t{0}))
            << entries[i];
    }
    for (int fd : {readOnly, readWrite, writeOnly, folder, pipeEnds[0], pipeEnds[1]}) close(fd);
}

// BIOS drive numbers run from 0x80 to 0xFF: the 128th entry is the last drive.
TEST_F(BiosDiskEntries, NoMoreDrivesThanBiosDriveNumbers) {
    for (const size_t named : {bios_disk_list::kMaxDisks, bios_disk_list::kMaxDisks + 1}) {
        std::string list = image;
        for (size_t i = 1; i < named; ++i) list += ":" + image;
        auto library = Load(list);
        ASSERT_TRUE(library);
        EXPECT_EQ(Count(*library), bios_disk_list::kMaxDisks) << named;
        EXPECT_EQ(ReadSector(*library, 0xFF, 9), std::make_pair(1, Numbered(9))) << named;
    }
}

}  // namespace
}  // namespace lumbra
