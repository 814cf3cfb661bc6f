// The volume-based mount, the tree build and the root listing of builder volumes of 100,000
// and 1,000,000 files (one folder per ten files). Prints time(1,000,000) / time(100,000)
// (target at most 12: the work must grow linearly) and the heap the mount took per record at
// its peak (target at most 400 bytes).
#include <malloc.h>

#include <cstdlib>
#include <new>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <cstdio>
#include <string>

#include "discovery/pool_listing.h"
#include "disk/device_sector_reader.h"
#include "recovery/folder_browse.h"
#include "recovery/volume_mount.h"
#include "scale_volume.h"
#include "support/nss_image_builder.h"

namespace {

// The thread's CPU time: the machine may be shared, and waiting for a core is not the mount's
// work.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Heap bytes held through operator new, and their high-water mark since the last reset.
std::atomic<uint64_t> heapInUse{0};
std::atomic<uint64_t> heapPeak{0};

void ResetPeak() { heapPeak = heapInUse.load(); }

class NullTree : public lumbra::FolderTreeView {
public:
    uint32_t insertFolderItem(uint32_t, std::string_view) override { return ++last; }
    void expandItem(uint32_t) override {}
    void selectItem(uint32_t) override {}
    void focusTree() override {}
    uint32_t parentItem(uint32_t) const override { return 0; }
    void progress(uint32_t) override {}
    uint32_t last = 1;
};

class NullList : public lumbra::ItemListView {
public:
    void deleteAllRows() override { rows = 0; }
    void appendRow(const lumbra::ItemRow&) override { ++rows; }
    std::string fileTypeName(std::string_view) const override { return {}; }
    uint64_t rows = 0;
};

struct Measure {
    double seconds = 0;
    uint64_t records = 0;
    uint64_t peakBytes = 0;
    uint64_t retainedBytes = 0;
};

// One mount, tree build and root listing into fresh records; the heap figures of the first
// round are kept.
void MountOnce(lumbra::SectorReader& reader, const lumbra::SelectedPool& pool, uint64_t rootSector,
               Measure& m) {
    lumbra::BlockQueue queue;
    lumbra::RecoveredTree tree;
    lumbra::NoMountEvents events;
    std::atomic<int32_t> stop{0};
    NullTree view;
    NullList list;
    const uint64_t before = heapInUse.load();
    ResetPeak();
    const double start = ThreadSeconds();
    lumbra::MountContext context{reader, pool, queue, tree, events, stop};
    lumbra::MountVolume(context, {.recoveryMode = 1, .rootSector = rootSector});
    lumbra::BuildFolderTree(tree, view, 1, 0);
    lumbra::FillItemList(tree, list, 0, {});
    const double seconds = ThreadSeconds() - start;
    if (m.records == 0) {
        m.records = tree.folders().size() + tree.files().size();
        m.peakBytes = heapPeak.load() - before;
        m.retainedBytes = heapInUse.load() - before;
    }
    m.seconds = m.seconds == 0 ? seconds : std::min(m.seconds, seconds);
}

// A builder volume of `files` files, found through the partition table as the wizard finds it.
class ScaleImage {
public:
    explicit ScaleImage(uint32_t files)
        : files_(files),
          image_(lumbra::test::NssImageBuilder().pool({.name = "BENCH", .volumes = {lumbra::bench::ScaleVolume(files)}}).build()),
          reader_(image_.device()) {
        lumbra::PoolTable pools;
        lumbra::ListPoolsFromPartitionTable(reader_, pools);
        pool_ = *lumbra::SelectPool(pools, 0);
        rootSector_ = image_.pools().at(0).volumes.at(0).rootSector;
    }

    void MountRound() { MountOnce(reader_, pool_, rootSector_, measure_); }

    const Measure& Report(int rounds) const {
        const Measure& m = measure_;
        std::printf("%8u files: %llu records, best of %d: %.3f s of CPU, peak %.1f bytes/record, kept %.1f bytes/record\n",
                    files_, static_cast<unsigned long long>(m.records), rounds, m.seconds,
                    double(m.peakBytes) / double(m.records), double(m.retainedBytes) / double(m.records));
        return m;
    }

private:
    uint32_t files_;
    lumbra::test::NssImage image_;
    lumbra::DeviceSectorReader reader_;
    lumbra::SelectedPool pool_;
    uint64_t rootSector_ = 0;
    Measure measure_;
};

}  // namespace

void* operator new(size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    uint64_t now = heapInUse += malloc_usable_size(block);
    uint64_t peak = heapPeak.load(std::memory_order_relaxed);
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {}
    return block;
}

void operator delete(void* block) noexcept {
    if (block == nullptr) return;
    heapInUse -= malloc_usable_size(block);
    std::free(block);
}

void operator delete(void* block, size_t) noexcept { operator delete(block); }

int main() {
    // Freed heap stays with the process, so that every round after the first runs on memory
    // that is already mapped and the best rounds compare the work, not the kernel's page faults.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    // Rounds alternate between the sizes, so that a change in the machine's load touches both.
    constexpr int kRounds = 6;
    ScaleImage smallImage(100'000);
    ScaleImage largeImage(1'000'000);
    for (int round = 0; round < kRounds; ++round) {
        smallImage.MountRound();
        largeImage.MountRound();
    }
    const Measure& small = smallImage.Report(kRounds);
    const Measure& large = largeImage.Report(kRounds);
    const double ratio = large.seconds / small.seconds;
    const double bytesPerRecord = double(large.peakBytes) / double(large.records);
    std::printf("time(1,000,000 files) / time(100,000 files) = %.2f (target <= 12)\n", ratio);
    std::printf("peak heap of the mounted 1,000,000-file volume = %.1f bytes per record (target <= 400)\n",
                bytesPerRecord);
    return ratio <= 12.0 && bytesPerRecord <= 400.0 ? 0 : 1;
}
