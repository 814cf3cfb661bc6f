#pragma once
// NssImageBuilder: writes NSS test disks from a declarative description (nss_image_plan.h)
// and reports what it wrote (nss_image.h). Every on-disk structure is written exactly as the
// discovery and mount read it; docs/format/ describes each one.
//
// Usage:
//
//   using namespace lumbra::test;
//   VolumePlan vol{.name = "DATA"};
//   uint64_t docs = vol.addFolder("Documents");
//   vol.addFile("Report.doc", docs, 12345);
//   vol.files.push_back({.parent = docs, .name = "Caf\u00e9.xls", .size = 70000, .fragments = 3});
//
//   NssImage image = NssImageBuilder()
//       .pool({.name = "POOL1",
//              .segments = {{.headerSector = 2048, .extent = 65536}},
//              .volumes = {vol}})
//       .build();
//
//   auto device = image.device();               // std::unique_ptr<lumbra::SectorDevice>
//   const BuiltPool& pool = image.pool("POOL1");
//   pool.segments[0].dataStart;                 // 2080, where segment 0's data begins
//   pool.superblockSector;                      // 2088
//   const BuiltVolume& v = pool.volume("DATA");
//   v.rootSector;                               // where the mount starts
//   NssImage::expectedContent(v.files[0]);      // the bytes extraction must produce
//   NssImage::expectedMount(v);                 // folders/files/paths the mount must find
//   NssImage::expectedPoolMount(pool);          // the same for reading every pool block
//   image.writeTo("/tmp/disk.img");             // sparse file
//
// Damage is part of the plan: HeaderPlan (byte 0, signature, value at 16, link at 188 for
// loops, descriptor fields, marker), MbrPlan (entries, signature), PoolTreePlan (superblock
// magic, root field, extra link records), TreeShape (loops), VolumePlan::damage (leaf
// magic and record lengths), RecordTweaks (any field of one record), DiskPlan::patches (any
// bytes). demo_image.h holds the plan of the bundled demo disk.
//
// Short forms, as in docs: a one-segment pool, and partition table entries by hand (giving any
// entry switches the automatic entries off):
//
//   NssImageBuilder().pool("DATA", {.headerSector = 2048})
//                    .partitionTableEntry(2048).partitionTableEntry(2048).build();
//
// Multi-segment pools: segments are mapped in segment-number order, each segment's extent
// being its length in sectors (the descriptor value at offset 36). The chain order of the
// headers is independent of the segment numbers (SegmentPlan::chainOrder), so segment 0's header
// can come last. Images are sparse: file data is generated on demand from (seed, file id,
// offset) and leaf blocks are rendered when read, so volumes of a million files and images
// of several GiB cost little memory.
//
// build() throws std::invalid_argument when the plan cannot be laid out (a pool too small for
// its contents, overlapping data runs, more than four partition entries). Pool blocks are
// given out in order: block 0 and the superblock (block 1) are kept free, then the object tree,
// then each volume's tree (root first), then the files' data; partition sectors that fall
// inside a pool (markers) are passed over. Automatic ids start at VolumePlan::nextId (1000).
#include <cstdint>
#include <string>
#include <vector>

#include "support/nss_image.h"
#include "support/nss_image_plan.h"

namespace lumbra::test {

class NssImageBuilder {
public:
    NssImageBuilder() = default;
    explicit NssImageBuilder(DiskPlan plan) : plan_(std::move(plan)) {}

    NssImageBuilder& pool(PoolPlan pool);
    // A one-segment pool named `name` without volumes (its object tree is one empty leaf).
    NssImageBuilder& pool(std::string name, SegmentPlan segment);
    NssImageBuilder& mbr(MbrPlan mbr);
    // Adds an entry to the partition table; count 0: the length of the partition whose header
    // is at `start`, or 1 when there is none.
    NssImageBuilder& partitionTableEntry(uint32_t start, uint32_t count = 0, uint8_t type = 0x65);
    NssImageBuilder& mbrSignature(MbrSignature signature);
    NssImageBuilder& noMbr();
    NssImageBuilder& patch(uint64_t diskOffset, std::vector<uint8_t> bytes);
    NssImageBuilder& diskSectors(uint64_t sectors);
    NssImageBuilder& contentSeed(uint64_t seed);

    DiskPlan& plan() { return plan_; }
    const DiskPlan& plan() const { return plan_; }

    NssImage build() const;

private:
    DiskPlan plan_;
};

// Builds the image of a description in one call.
inline NssImage buildImage(DiskPlan plan) { return NssImageBuilder(std::move(plan)).build(); }

}  // namespace lumbra::test
