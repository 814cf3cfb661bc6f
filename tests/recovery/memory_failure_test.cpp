// A machine out of memory: an allocation that fails while the mount admits records, or while
// the block queue grows, ends the work and is answered as a value, never as an exception.
#include <gtest/gtest.h>

#include <new>

#include "discovery/volume_discovery.h"
#include "recovery/mounted_image.h"
#include "support/failing_allocator.h"

namespace lumbra {
namespace {

using test::MountedImage;
using test::VolumePlan;

VolumePlan ManyFiles() {
    VolumePlan volume{.name = "MANY"};
    const uint64_t folder = volume.addFolder("A folder with a long name");
    for (int i = 0; i < 3000; ++i) volume.addFile("A file with a long name " + std::to_string(i) + ".txt", folder, 10);
    return volume;
}

TEST(MemoryFailure, ARecordThatCannotBeAllocatedEndsTheMount) {
    MountedImage mounted(test::BuildVolume(ManyFiles()));
    // Pool based: nothing is queued, so every allocation of the mount belongs to a record.
    test::FailAllocationAfter(3000);
    const MountOutcome outcome = mounted.MountPoolBased();
    test::StopFailingAllocations();
    ASSERT_TRUE(test::AllocationFailed());
    EXPECT_EQ(outcome.memoryFailure, MemoryFailure::Record);
    EXPECT_LT(mounted.tree.files().size(), 3000u);
    EXPECT_EQ(MemoryFailureText(outcome.memoryFailure), "Out of memory, close other applications and run again");

    EXPECT_EQ(mounted.MountPoolBased().memoryFailure, MemoryFailure::None) << "the next mount starts afresh";
    EXPECT_EQ(mounted.tree.files().size(), 3000u);
}

TEST(MemoryFailure, AQueueEntryThatCannotBeAllocatedEndsVolumeDiscovery) {
    MountedImage mounted(test::BuildVolume(ManyFiles()));
    ObjectTree tree;
    VolumeTable volumes;
    BlockQueue queue;
    test::FailAllocationAfter(0);
    const MemoryFailure failure =
        DiscoverVolumes(mounted.reader, mounted.pool, RecoveryMode::VolumeBased, tree, volumes, queue);
    test::StopFailingAllocations();
    ASSERT_TRUE(test::AllocationFailed());
    EXPECT_EQ(failure, MemoryFailure::QueueEntry);
    EXPECT_EQ(MemoryFailureText(failure), "Memory Allocation Error. \r\nPlease close other applications and run again.");
}

TEST(MemoryFailure, AFailedAppendLeavesTheQueueAsItWas) {
    BlockQueue queue;
    queue.append(8);
    // The first allocation of an append is the entry of its set, the second the list's growth.
    test::FailAllocationAfter(1);
    EXPECT_THROW(queue.append(16), std::bad_alloc);
    test::StopFailingAllocations();
    EXPECT_EQ(queue.size(), 1u);
    EXPECT_FALSE(queue.contains(16));
    EXPECT_TRUE(queue.append(16));
    EXPECT_EQ(queue[1], 16u);
}

}  // namespace
}  // namespace lumbra
