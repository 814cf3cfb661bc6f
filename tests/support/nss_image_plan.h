#pragma once
// The declarative description of an NSS test disk: what NssImageBuilder (nss_image_builder.h)
// turns into an image. Every field has a default that makes a well-formed disk; the fields
// named ...Field or grouped under "damage" write something else on purpose, so that the
// parsers' failure paths can be tested. Names are UTF-8 here and UTF-16LE on disk.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumbra::test {

// ---------------------------------------------------------------- partition table (sector 0)

struct MbrEntry {
    uint8_t type = 0x65;    // NetWare partition; the discovery walks any non-zero type
    uint32_t start = 0;     // first sector
    uint32_t count = 0;     // sector count; 0 in NssImageBuilder::partitionTableEntry means "auto"
    uint8_t bootFlag = 0;
    bool countFromPartition = false;  // count = length of the partition whose header is at start
};

enum class MbrSignature { Valid, Damaged, Missing };  // 55 AA / 55 AB / 00 00 at 510-511

struct MbrPlan {
    bool present = true;       // false: sector 0 stays all zeros
    bool autoEntries = true;   // with `entries` empty: one entry per partition header, in
                               // chain order, at most four
    std::vector<MbrEntry> entries;  // written as given, at most four (446, 462, 478, 494)
    MbrSignature signature = MbrSignature::Valid;
};

// ---------------------------------------------------------------- pools and segments

// The partition header of one segment and the sectors after it (P = header sector):
// header at P, segment descriptor at P+5, pool information at P+29, "HO" marker.
struct HeaderPlan {
    uint8_t kind = 1;                         // byte 0; anything else ends a chain walk
    std::string signature = "Nw_PaRtItIoN";   // bytes 1..12, padded with NUL
    uint16_t signatureValue = 0x0169;         // offset 16; another value: header is skipped
    std::optional<uint32_t> link;             // offset 188; default: next header of its chain
    int chain = 0;                            // headers of one chain are linked together
    // Descriptor at P+5 ('G' 'P' 'N' at 1, 5, 14). Default: written for pools of two or more
    // segments only. The numeric fields default to the real ones.
    std::optional<bool> descriptor;
    std::optional<uint32_t> descriptorSegmentCount;   // offset 20
    std::optional<uint32_t> descriptorSegmentNumber;  // offset 32
    std::optional<uint32_t> descriptorExtent;         // offset 36 (default: the extent)
    std::optional<std::string> poolNameField;         // name written at P+29 (default: pool's)
    std::optional<uint32_t> poolSizeField;            // P+29 offset 32 (default: pool size)
    // Data start. dataOffset = sectors from P to the first data sector (default 32). A marker
    // "HO" is written at P+markerAt (32, 64, 96 or 128) with markerValue at offset 24; by
    // default no marker is written when dataOffset is 32, else one at P+32 with dataOffset.
    uint32_t dataOffset = 32;
    uint32_t markerAt = 0;                    // 0: the default above
    std::optional<uint16_t> markerValue;
};

struct SegmentPlan {
    uint32_t headerSector = 0;  // P; 0: placed after the previous segment (first at 2048)
    uint32_t extent = 0;        // data sectors of this segment; 0: sized to what the pool needs
    std::optional<uint32_t> number;  // segment number; default: position in the list
    std::optional<int> chainOrder;   // order of this header in its chain; default: declaration
                                     // order over all pools (pool by pool, segment by segment)
    HeaderPlan header;
};

// ---------------------------------------------------------------- B-trees

enum class TreeLinks {
    Branches,     // a root "BRCH" block (more levels when needed) over the leaves
    LinkRecords,  // the first leaf is the root; each leaf ends with a link record to the next
};

// How the records of a tree (the pool's object tree or a volume's B-tree) are packed.
struct TreeShape {
    bool recordsAt40 = true;         // byte 42 'N', records from 40; false: byte 42 0, from 56
    uint32_t recordsPerLeaf = 0;     // 0: as many as fit in 4096 bytes
    uint32_t branchFanout = 338;     // child entries per branch block (338 fill a block)
    TreeLinks links = TreeLinks::Branches;
    bool branchOverSingleLeaf = false;  // Branches: a root branch even over one leaf
    // Loops, for the walks' visited-block guards.
    bool leafLinksToItself = false;   // the first leaf gets a link record to its own block
    bool branchLinksToRoot = false;   // the root branch gets one more child entry: itself
};

// Raw on-disk overrides of one leaf record; each unset field keeps the true value.
struct ByteEdit {
    uint32_t offset = 0;  // within the record
    std::vector<uint8_t> bytes;
};

struct RecordTweaks {
    std::optional<uint64_t> parentField;      // the parent as written (default: 127 for root)
    std::optional<uint32_t> blockCountField;  // files
    std::optional<uint64_t> firstBlockField;  // files
    std::optional<uint8_t> nameLengthField;   // units; the name itself is written in full
    std::optional<uint32_t> typeField;        // record offset 4 (3 = object)
    std::optional<uint8_t> kindField;         // record offset 18 (8 folder, 24 file)
    std::vector<ByteEdit> edits;              // written last, over the record
};

enum class LeafDamageKind {
    BadMagic,         // "LEAX" instead of "LEAF": the whole leaf is lost
    ZeroLength,       // length of record `atRecord` is 0: it and the rest are lost
    NegativeLength,   // length -1
    PastBlockEnd,     // length reaches past byte 4095
    FieldsPastBlock,  // a last record whose own length fits, but whose fields lie past the
                      // block (a file record starting at 4080); records before it are kept
};

struct LeafDamage {
    uint32_t leaf = 0;      // leaf index in walk order (0 = first leaf)
    LeafDamageKind kind = LeafDamageKind::BadMagic;
    uint32_t atRecord = 0;  // record index within the leaf (length kinds)
};

// ---------------------------------------------------------------- volumes

struct BlockRun {
    uint64_t start = 0;  // pool block
    uint64_t count = 0;
};

struct FolderPlan {
    std::optional<uint64_t> id;  // default: assigned (from 1000 up, past every given id)
    uint64_t parent = 0;         // 0: the volume root (written as 127); an id that is not
                                 // declared makes a lost folder
    std::string name;
    std::optional<uint32_t> time;  // seconds since 1970; default: derived from the id
    bool excluded = false;         // the exclusion chain at 108 makes the mount skip it
    bool duplicate = false;        // the record is written a second time, in the last leaf
    RecordTweaks tweaks;
};

struct FilePlan {
    std::optional<uint64_t> id;
    uint64_t parent = 0;
    std::string name;
    uint64_t size = 0;
    std::optional<uint32_t> time;
    // Data placement: `runs` as given (pool blocks), else `fragments` runs allocated with a
    // one-block gap between them, else one contiguous run. The record names the first block
    // of the first run; the content follows the runs in order.
    std::vector<BlockRun> runs;
    uint32_t fragments = 1;
    std::optional<uint64_t> seed;  // content seed; default: the image's contentSeed
    bool duplicate = false;
    RecordTweaks tweaks;
};

struct VolumePlan {
    std::string name;
    std::vector<FolderPlan> folders;
    std::vector<FilePlan> files;
    TreeShape tree;
    std::vector<LeafDamage> damage;
    bool filesFirst = false;  // records in the B-tree: folders then files, or files first
    bool listed = true;       // false: no volume record in the pool's object tree
    std::optional<int16_t> nameLengthField;  // volume record offset 124
    std::optional<uint64_t> rootBlockField;  // the volume record's root block

    // Convenience: appends a folder or file with id nextId (then nextId + 1) and returns the id.
    // Ids given by hand should stay clear of that range.
    uint64_t addFolder(std::string folderName, uint64_t parentId = 0);
    uint64_t addFile(std::string fileName, uint64_t parentId, uint64_t fileSize);
    uint64_t nextId = 1000;
};

// The superblock and the pool's object tree (volume records, link records).
struct PoolTreePlan {
    bool superblock = true;
    std::string superblockMagic = "SPB";
    std::optional<uint64_t> rootBlockField;  // superblock offset 188 (default: the real root)
    TreeShape shape;
    std::vector<uint64_t> extraLinks;  // link records (kind 0x2C) added to the first leaf
};

struct PoolPlan {
    std::string name;                    // written as UTF-16, all units (up to 64)
    std::vector<SegmentPlan> segments;   // empty: one automatic segment
    std::vector<VolumePlan> volumes;
    PoolTreePlan tree;
};

// Bytes written last, over everything else (disk byte offset).
struct RawPatch {
    uint64_t offset = 0;
    std::vector<uint8_t> bytes;
};

struct DiskPlan {
    MbrPlan mbr;
    std::vector<PoolPlan> pools;
    uint64_t diskSectors = 0;            // 0: past the last segment, rounded up to 1 MiB
    uint64_t contentSeed = 0x4C554D42;   // seed of every file's content unless it has its own
    std::vector<RawPatch> patches;
};

}  // namespace lumbra::test
