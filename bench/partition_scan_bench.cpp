// The partition scan against a plain sequential read of the same cached image: the scan must
// run at the speed of the device. Prints the ratio scan time / plain read time (target 1.10).
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "discovery/partition_scan.h"
#include "disk/device_sector_reader.h"
#include "disk/file_device.h"
#include "disk/sector.h"
#include "support/nss_image_builder.h"

#include "bench_timing.h"

namespace {

constexpr uint64_t kImageBytes = 2ull << 30;
constexpr size_t kPlainBlock = 1 << 20;
constexpr int kRounds = 5;

using lumbra::bench::KeepBest;
using lumbra::bench::Stopwatch;
using lumbra::bench::Timing;

// A sparse 2 GiB image with a few pools spread over it.
std::string WriteImage() {
    const std::string path = (std::filesystem::temp_directory_path() / "lumbra_scan_bench.img").string();
    lumbra::test::NssImageBuilder builder;
    for (uint32_t i = 0; i < 4; ++i)
        builder.pool("BENCH" + std::to_string(i), {.headerSector = 2048 + i * 1000000});
    builder.diskSectors(kImageBytes / lumbra::kSectorSize).build().writeTo(path);
    return path;
}

Timing PlainRead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::vector<uint8_t> block(kPlainBlock);
    const Stopwatch watch;
    uint64_t total = 0;
    for (ssize_t got; (got = ::read(fd, block.data(), block.size())) > 0;) total += static_cast<uint64_t>(got);
    const Timing timing = watch.elapsed();
    ::close(fd);
    if (total != kImageBytes) std::fprintf(stderr, "short plain read: %llu bytes\n", static_cast<unsigned long long>(total));
    return timing;
}

Timing Scan(const std::string& path, uint32_t readAhead, uint32_t& poolsFound) {
    lumbra::DeviceSectorReader reader(lumbra::FileDevice::Open(path));
    lumbra::PoolTable pools;
    lumbra::ScanEvents events;
    std::atomic<int32_t> stop{0};
    const Stopwatch watch;
    lumbra::ScanForPartitions(reader, {0, static_cast<uint32_t>(kImageBytes / lumbra::kSectorSize)}, 60, stop,
                              pools, events, readAhead);
    const Timing timing = watch.elapsed();
    poolsFound = pools.count();
    return timing;
}

}  // namespace

int main() {
    const std::string path = WriteImage();
    PlainRead(path);  // brings the image into the page cache
    Timing plain, scan, scanRunByRun;
    uint32_t pools = 0, poolsRunByRun = 0;
    for (int round = 0; round < kRounds; ++round) {
        KeepBest(plain, PlainRead(path));
        KeepBest(scan, Scan(path, lumbra::kDeviceReadAheadSectors, pools));
        KeepBest(scanRunByRun, Scan(path, 0, poolsRunByRun));
    }
    std::filesystem::remove(path);
    std::printf("best of %d rounds                       wall s   cpu s\n", kRounds);
    std::printf("scan, 60 sectors/run, 1 MiB read-ahead %7.3f %7.3f   (%u pools)\n", scan.wall, scan.cpu, pools);
    std::printf("scan, 60 sectors/run, one read per run %7.3f %7.3f   (%u pools)\n", scanRunByRun.wall,
                scanRunByRun.cpu, poolsRunByRun);
    std::printf("plain read, 1 MiB blocks               %7.3f %7.3f\n", plain.wall, plain.cpu);
    std::printf("one read per run / plain read: wall %.2f, cpu %.2f\n", scanRunByRun.wall / plain.wall,
                scanRunByRun.cpu / plain.cpu);
    std::printf("ratio scan / plain read: wall %.2f, cpu %.2f (target at most 1.10)\n", scan.wall / plain.wall,
                scan.cpu / plain.cpu);
    return pools == 4 && poolsRunByRun == 4 ? 0 : 1;
}
