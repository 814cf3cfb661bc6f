#pragma once
// A built NSS test disk (see nss_image_builder.h): the bytes, served sparsely, and a report of
// where everything went, for tests to compare the parsers' findings against.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "disk/sector_device.h"
#include "disk/sector_reader.h"
#include "support/nss_image_plan.h"
#include "support/pool_mapping.h"

namespace lumbra::test {

// ---------------------------------------------------------------- the report

struct BuiltSegment {
    uint32_t number = 0;          // segment number within the pool
    uint64_t headerSector = 0;    // P
    uint64_t dataStart = 0;       // `segmentStart`: P + data offset
    uint64_t extent = 0;          // data sectors (the mapping's length of this segment)
    uint32_t descriptorExtent = 0;  // value for descriptor offset 36 (written when there is a descriptor)
    uint32_t linkField = 0;       // value written at header offset 188
    int chain = 0;
    uint32_t chainPosition = 0;   // position of the header in its chain, from 0
};

struct BuiltFolder {
    uint64_t id = 0;
    uint64_t parent = 0;       // 0 = the volume root
    std::string name;          // UTF-8, as described
    uint32_t time = 0;
    bool excluded = false;
    bool duplicate = false;
    bool lostByDamage = false; // its only record lies in a damaged part of a leaf
    uint32_t leaf = 0;         // leaf index of its (first) record
    std::shared_ptr<const RecordTweaks> tweaks;  // null when none

    std::string expectedName() const;  // the 8-bit name the mount reads (low bytes, to NUL)
};

struct BuiltFile {
    uint64_t id = 0;
    uint64_t parent = 0;
    std::string name;
    uint64_t size = 0;
    uint32_t time = 0;
    uint64_t seed = 0;          // content seed (see file_content.h)
    uint64_t firstBlock = 0;    // pool block of the first run
    uint32_t blockCount = 0;    // ceil(size / 4096)
    std::vector<BlockRun> runs; // always at least one run when blockCount > 0
    bool duplicate = false;
    bool lostByDamage = false;
    uint32_t leaf = 0;
    std::shared_ptr<const RecordTweaks> tweaks;

    std::string expectedName() const;
};

// One leaf of a volume's B-tree, in walk order. Records are indexes into
// BuiltVolume::recordOrder; the first `keptRecords` of them are readable (fewer when the leaf is
// damaged), and `reachable` is false when a damaged leaf before it held the link that leads here
// (a walk of the tree never gets there; a scan of every pool block still does).
struct BuiltLeaf {
    uint64_t block = 0;
    uint32_t firstRecord = 0;
    uint32_t recordCount = 0;
    uint32_t keptRecords = 0;
    bool reachable = true;
};

// BuiltVolume::recordOrder entries: a folder index, or a file index with this bit set.
constexpr uint32_t kFileRecordBit = 0x80000000u;

struct BuiltVolume {
    std::string name;            // UTF-8, as described
    std::string expectedName;    // 8-bit; discovery lists a volume only up to 48 units of name
    bool listed = true;
    uint64_t rootBlock = 0;      // pool block of the volume's B-tree root
    uint64_t rootSector = 0;     // the same, as a disk sector
    std::vector<uint64_t> leafBlocks;    // in walk order
    std::vector<uint64_t> branchBlocks;  // in walk order (root first)
    std::vector<BuiltFolder> folders;    // in declaration order
    std::vector<BuiltFile> files;        // in declaration order
    std::vector<BuiltLeaf> leaves;       // walk order
    std::vector<uint32_t> recordOrder;   // every record written, in walk order (duplicates too)
};

struct BuiltPool {
    std::string name;             // UTF-8, as described
    std::string expectedName;     // what pool discovery reads (8-bit, at most 15)
    uint32_t poolSize = 0;        // sectors: the sum of the extents, written at P+29 offset 32
                                  // unless HeaderPlan::poolSizeField says otherwise
    std::vector<BuiltSegment> segments;  // by segment number
    uint64_t superblockSector = 0;       // segmentStart[0] + 8
    uint64_t treeRootBlock = 0;          // object tree root (pool block)
    uint64_t treeRootSector = 0;         // the same, as a disk sector
    std::vector<uint64_t> treeLeafBlocks;
    std::vector<uint64_t> treeBranchBlocks;
    std::vector<BuiltVolume> volumes;

    // Pool-relative sector to disk sector through the segments (pool_mapping.h).
    std::optional<uint64_t> toDiskSector(uint64_t poolSector) const;
    std::vector<SegmentPlace> places() const;  // the segments' data starts and extents, by number
    const BuiltVolume& volume(std::string_view volumeName) const;  // throws when unknown
};

// What the volume-based mount of a volume should end with: the folder and file lists in
// admission order, lost-data folders "DirN" included, and each item's path in the tree.
struct ExpectedItem {
    uint64_t objectId = 0;
    uint64_t parentId = 0;
    std::string name;            // 8-bit
    uint32_t time = 0;
    uint64_t size = 0;
    uint64_t firstBlock = 0;
    uint32_t blockCount = 0;
    std::string path;            // "/A/B/name" (8-bit names); "" when not reachable from root
    int source = -1;             // index into BuiltVolume::folders / files; -1 for "DirN"
    int volume = 0;              // index of the record's volume in its pool (pool-based result)
};

struct ExpectedMount {
    std::vector<ExpectedItem> folders;
    std::vector<ExpectedItem> files;
};

// ---------------------------------------------------------------- the image

struct ImageData;  // the built content, shared with the devices handed out

class NssImage {
public:
    explicit NssImage(std::shared_ptr<const ImageData> data);

    uint64_t sizeBytes() const;
    uint64_t sectorCount() const;

    // Devices that serve the image from memory; they keep the image data alive.
    std::unique_ptr<SectorDevice> device() const;
    // A plain reader (one attempt, zeros past the end, result 0 then) for discovery tests.
    std::unique_ptr<SectorReader> reader() const;

    void read(uint64_t offset, std::span<uint8_t> out) const;  // zeros past the end
    std::vector<uint8_t> readSectors(uint64_t sector, uint32_t count) const;
    std::vector<uint8_t> readPoolBlock(const BuiltPool& pool, uint64_t block) const;
    std::vector<uint8_t> bytes() const;  // the whole image; throws above 512 MiB

    // Writes a sparse file: only areas holding data are written, then the file is truncated
    // to the full size. Throws std::runtime_error on failure.
    void writeTo(const std::string& path) const;

    // Disk byte ranges that hold anything but zeros (written metadata and file data), sorted.
    struct Extent {
        uint64_t offset = 0;
        uint64_t length = 0;
    };
    std::vector<Extent> dataExtents() const;

    const std::vector<BuiltPool>& pools() const;
    const BuiltPool& pool(std::string_view name) const;  // throws when unknown
    uint64_t contentSeed() const;

    // The file's content: `size` bytes from its seed and id, across its runs.
    static std::vector<uint8_t> expectedContent(const BuiltFile& file);
    // What a reader gets taking `size` bytes from consecutive blocks at firstBlock (as the
    // extraction does); differs from expectedContent only for fragmented files.
    std::vector<uint8_t> consecutiveContent(const BuiltPool& pool, const BuiltFile& file) const;

    // Path through the declared folders ("/A/B/name", UTF-8); "?/name" under a missing parent.
    static std::string declaredPath(const BuiltVolume& volume, const BuiltFile& file);
    static std::string declaredPath(const BuiltVolume& volume, const BuiltFolder& folder);

    // The reference result of the volume-based mount (see ExpectedMount). Records whose name
    // length field was changed (RecordTweaks::nameLengthField) to another non-zero value, and
    // ByteEdits, are beyond this model.
    static ExpectedMount expectedMount(const BuiltVolume& volume);
    // The same for the pool-based mount: every leaf block of the pool's volumes, in block
    // order, without following links (ExpectedItem::volume says whose record it was).
    static ExpectedMount expectedPoolMount(const BuiltPool& pool);

private:
    std::shared_ptr<const ImageData> data_;
};

}  // namespace lumbra::test
