#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "disk/disk_access.h"
#include "disk/sector.h"
#include "support/nss_image_builder.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

std::string runAndRead(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[256];
        while (fgets(chunk, sizeof chunk, pipe)) output += chunk;
        if (pclose(pipe) != 0) return "";
    }
    while (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
}

// A builder image attached read-only to a loop device is a disk of this machine like any other.
TEST(LoopDevice, AttachedImageIsListedAndReadLikeADisk) {
    test::ScratchFolder folder("loop");
    const std::string image = folder.file("pool-disk.img");
    test::NssImageBuilder().pool("LOOPPOOL", {.headerSector = 2048}).build().writeTo(image);
    const std::string loop = runAndRead("losetup -f --show -r '" + image + "' 2>/dev/null");
    if (loop.empty()) GTEST_SKIP() << "losetup could not attach a loop device here (needs root and loop support)";
    struct Detach {
        std::string device;
        ~Detach() { std::system(("losetup -d " + device).c_str()); }
    } detach{loop};

    DiskAccess access(AccessMode::N);
    access.EnumerateDrives({}, "");
    const auto& rows = access.driveTable().rows;
    size_t row = rows.size();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].path == loop) row = i;
    ASSERT_LT(row, rows.size()) << loop << " is not listed";
    EXPECT_EQ(rows[row].model, "pool-disk.img");
    EXPECT_EQ(rows[row].heads, 255u);

    auto reader = access.OpenDrive(row, 3);
    std::vector<uint8_t> sector(kSectorSize);
    EXPECT_EQ(reader->ReadSectors(2048, 1, sector.data()), 1);
    EXPECT_EQ(sector[0], 0x01);
    EXPECT_EQ(std::string(sector.begin() + 1, sector.begin() + 13), "Nw_PaRtItIoN");
    std::vector<uint8_t> mbr(kSectorSize);
    reader->ReadSectors(0, 1, mbr.data());
    EXPECT_EQ(mbr[510], 0x55);
    EXPECT_EQ(mbr[511], 0xAA);
}

}  // namespace
}  // namespace lumbra
