// Extracting one contiguous 1 GiB file against a plain copy of the same byte range of the
// cached image: the extraction must run at the speed of the device. Prints the ratio
// extraction time / plain copy time (target at most 1.3). A third measurement reads the image
// as one read with a rescue map: every read is checked against the map's unrescued ranges, the
// damage map holds them, and the file's condition is worked out after the copy, as a recovery
// run does; its ratio to the extraction without a map shows what damage awareness costs a
// healthy file (target at most 1.02).
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "discovery/pool_listing.h"
#include "disk/device_sector_reader.h"
#include "disk/file_device.h"
#include "disk/rescued_device.h"
#include "disk/sector.h"
#include "recovery/file_condition.h"
#include "recovery/file_copy.h"
#include "support/nss_image_builder.h"

#include "bench_timing.h"

namespace {

namespace fs = std::filesystem;

constexpr uint64_t kFileBytes = 1ull << 30;
constexpr size_t kPlainBlock = 1 << 20;
constexpr int kRounds = 7;
// Unrescued single sectors of the mapped reading, all past the file's data.
constexpr uint64_t kUnrescuedRanges = 4096;

using lumbra::bench::KeepBest;
using lumbra::bench::Stopwatch;
using lumbra::bench::Timing;

struct BenchImage {
    std::string path;
    uint64_t dataOffset = 0;  // byte offset of the file's data in the image
};

BenchImage WriteImage(const fs::path& folder) {
    lumbra::test::VolumePlan volume{.name = "BENCH"};
    volume.addFile("big.bin", 0, kFileBytes);
    const lumbra::test::NssImage image =
        lumbra::test::NssImageBuilder().pool({.name = "BENCH", .volumes = {volume}}).build();
    const lumbra::test::BuiltPool& pool = image.pool("BENCH");
    const uint64_t sector = *pool.toDiskSector(pool.volumes[0].files[0].firstBlock * lumbra::kSectorsPerBlock);
    BenchImage bench{(folder / "extract_bench.img").string(), sector * lumbra::kSectorSize};
    image.writeTo(bench.path);
    return bench;
}

// Both copies write a new file: truncating the one of the round before is not part of either.
Timing PlainCopy(const BenchImage& image, const fs::path& target) {
    fs::remove(target);
    const int in = ::open(image.path.c_str(), O_RDONLY);
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<uint8_t> block(kPlainBlock);
    const Stopwatch watch;
    for (uint64_t done = 0; done < kFileBytes;) {
        const ssize_t got = ::pread(in, block.data(), block.size(), static_cast<off_t>(image.dataOffset + done));
        if (got <= 0 || ::write(out, block.data(), static_cast<size_t>(got)) != got) break;
        done += static_cast<uint64_t>(got);
    }
    ::close(out);
    const Timing timing = watch.elapsed();
    ::close(in);
    return timing;
}

// Sectors past the end of the image, every other one: the map is as large as a badly damaged
// disk's, and no read of the file touches it.
std::vector<lumbra::SectorRange> UnrescuedPastTheImage(const BenchImage& image) {
    const uint64_t imageSectors = fs::file_size(image.path) / lumbra::kSectorSize;
    std::vector<lumbra::SectorRange> ranges;
    for (uint64_t i = 0; i < kUnrescuedRanges; ++i) ranges.push_back({imageSectors + 2 * i, 1});
    return ranges;
}

std::unique_ptr<lumbra::DeviceSectorReader> OpenReader(const BenchImage& image, bool withRescueMap) {
    std::unique_ptr<lumbra::SectorDevice> device = lumbra::FileDevice::Open(image.path);
    if (!withRescueMap) return std::make_unique<lumbra::DeviceSectorReader>(std::move(device));
    const std::vector<lumbra::SectorRange> unrescued = UnrescuedPastTheImage(image);
    auto reader = std::make_unique<lumbra::DeviceSectorReader>(
        std::make_unique<lumbra::RescuedDevice>(std::move(device), unrescued));
    for (const lumbra::SectorRange& range : unrescued) reader->damageMap()->add(range.first, range.count);
    reader->damageMap()->setKnownInAdvance();
    return reader;
}

Timing Extract(const BenchImage& image, const fs::path& folder, bool withRescueMap, uint64_t& written) {
    const std::unique_ptr<lumbra::DeviceSectorReader> opened = OpenReader(image, withRescueMap);
    lumbra::DeviceSectorReader& reader = *opened;
    lumbra::PoolTable pools;
    lumbra::ListPoolsFromPartitionTable(reader, pools);
    const lumbra::SelectedPool pool = *lumbra::SelectPool(pools, 0);
    const std::vector<std::string> noFilters;
    lumbra::PosixDestinationFiles files;
    lumbra::SavingFlags flags;
    lumbra::CopyContext context{reader, pool, files, flags, noFilters};
    context.duplicateAction = lumbra::kOverwriteDuplicates;
    const uint64_t firstBlock = (image.dataOffset / lumbra::kSectorSize - pool.segmentStart[0]) / lumbra::kSectorsPerBlock;
    std::string name = "extracted.bin";
    fs::remove(folder / name);
    const Stopwatch watch;
    const lumbra::CopyResult result = lumbra::CopyRecoveredFile(context, folder.string(), name, firstBlock,
                                                                static_cast<int64_t>(kFileBytes),
                                                                lumbra::CopyMode::Recover);
    bool intact = true;
    if (withRescueMap) {
        const lumbra::FileLayout layout = lumbra::LayFileOut(pool, reader.sectorCount(), firstBlock,
                                                             static_cast<int64_t>(kFileBytes));
        intact = lumbra::ConditionOf(layout, reader.damageMap(), true).kind == lumbra::ConditionKind::Intact;
    }
    const Timing timing = watch.elapsed();
    written = intact ? result.bytesWritten : 0;
    return timing;
}

}  // namespace

// The copies go to memory when it can take them, so that the write-back of other work on the
// machine does not decide the figures.
fs::path OutputFolder() {
    const fs::path memory = "/dev/shm";
    const fs::path base = fs::is_directory(memory) ? memory : fs::temp_directory_path();
    return base / ("lumbra_extract_bench_out_" + std::to_string(::getpid()));
}

int main() {
    const fs::path imageFolder = fs::temp_directory_path() / ("lumbra_extract_bench_" + std::to_string(::getpid()));
    const fs::path folder = OutputFolder();
    fs::create_directories(imageFolder);
    fs::create_directories(folder);
    const BenchImage image = WriteImage(imageFolder);
    PlainCopy(image, folder / "plain.bin");  // brings the range into the page cache
    Timing plain, extract, mapped;
    uint64_t written = 0;
    uint64_t writtenMapped = 0;
    for (int round = 0; round < kRounds; ++round) {
        KeepBest(plain, PlainCopy(image, folder / "plain.bin"));
        KeepBest(extract, Extract(image, folder, false, written));
        KeepBest(mapped, Extract(image, folder, true, writtenMapped));
    }
    const bool same = fs::file_size(folder / "plain.bin") == fs::file_size(folder / "extracted.bin");
    fs::remove_all(folder);
    fs::remove_all(imageFolder);
    std::printf("best of %d rounds                            wall s   cpu s\n", kRounds);
    std::printf("extraction, runs of up to %2u blocks        %7.3f %7.3f   (%llu bytes)\n", lumbra::kCopyRunBlocks,
                extract.wall, extract.cpu, static_cast<unsigned long long>(written));
    std::printf("extraction with a rescue map of %llu areas %7.3f %7.3f\n",
                static_cast<unsigned long long>(kUnrescuedRanges), mapped.wall, mapped.cpu);
    std::printf("plain copy of the same range, 1 MiB blocks %7.3f %7.3f\n", plain.wall, plain.cpu);
    std::printf("ratio extraction / plain copy: wall %.2f, cpu %.2f (target at most 1.3)\n", extract.wall / plain.wall,
                extract.cpu / plain.cpu);
    std::printf("ratio with map / without: wall %.3f, cpu %.3f (target at most 1.02)\n", mapped.wall / extract.wall,
                mapped.cpu / extract.cpu);
    return written == kFileBytes && writtenMapped == kFileBytes && same ? 0 : 1;
}
