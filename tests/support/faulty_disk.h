#pragma once
// A failing disk the kernel reads: tools/faulty-disk serves an image file through FUSE after a
// fault plan, and, for root, a read-only loop device is attached over the served file, so that
// the program reads a real block device whose reads fail where the plan says. An ordinary user
// reads the served file itself. Everything is undone when the object goes, also when a test
// fails half way; the server ends with the test program even when that one is killed.
#include <cstdint>
#include <string>

#include "fault_plan.h"

namespace lumbra::test {

// What the disk was asked so far (docs/faulty_disk.md).
struct FaultyDiskCounters {
    uint64_t reads = 0;
    uint64_t failedReads = 0;
    uint64_t bytes = 0;
    bool dead = false;
    uint64_t mostReadsOfOneSector = 0;
    uint64_t sectorReadMost = 0;
    uint64_t mostFailedReadsOfOneSector = 0;
    uint64_t sectorFailedMost = 0;

    std::string text() const;  // one line for a test's output
};

// Why no faulty disk can be served on this machine (no /dev/fuse); empty when one can.
std::string FaultyDiskUnavailable();

class FaultyDisk {
public:
    enum class Attach { LoopDeviceWhenRoot, FileOnly };

    // Serves `image` in a mount made in `folder` (an empty scratch folder of the test), the plan
    // written beside it. ready() tells whether it runs; why() says what failed.
    FaultyDisk(const std::string& image, const faulty::FaultPlan& plan, const std::string& folder,
               Attach attach = Attach::LoopDeviceWhenRoot);
    ~FaultyDisk();
    FaultyDisk(const FaultyDisk&) = delete;
    FaultyDisk& operator=(const FaultyDisk&) = delete;

    bool ready() const { return why_.empty(); }
    const std::string& why() const { return why_; }
    // What the program opens: the loop device, or the served file where there is none.
    const std::string& path() const { return loopDevice_.empty() ? file_ : loopDevice_; }
    const std::string& file() const { return file_; }  // the served file
    bool throughLoopDevice() const { return !loopDevice_.empty(); }
    FaultyDiskCounters counters() const;
    // Ends the server at once, as a disk that is pulled out: the mount stays, and every read of
    // the served file fails as for a source that is gone.
    void vanish();

private:
    void holdLoopDevice();
    void stop();

    std::string mountPoint_;
    std::string file_;
    std::string loopDevice_;
    std::string why_;
    int server_ = -1;  // process id
    int held_ = -1;    // a descriptor of the loop device
};

}  // namespace lumbra::test
