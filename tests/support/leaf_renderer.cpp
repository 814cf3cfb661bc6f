#include <algorithm>
#include <cstring>

#include "disk/byte_order.h"
#include "support/file_content.h"
#include "support/image_data.h"
#include "support/nss_format.h"
#include "support/record_writer.h"
#include "support/tree_layout.h"

namespace lumbra::test {

namespace fmt = format;

namespace {

constexpr size_t kFillerEnd = 4080;     // the record whose fields lie past the block starts here
constexpr uint32_t kFillerType = 0x99;  // a record type the walks pass over

size_t writeRecord(std::span<uint8_t> block, size_t at, const BuiltVolume& volume, uint32_t entry) {
    if (entry & kFileRecordBit) return writeFileRecord(block, at, volume.files[entry & ~kFileRecordBit]);
    return writeFolderRecord(block, at, volume.folders[entry]);
}

void writeFieldsPastBlock(std::span<uint8_t> block, size_t at) {
    if (at < kFillerEnd) {
        putLe16(block, at, static_cast<uint16_t>(kFillerEnd - at));
        putLe32(block, at + fmt::record::kType, kFillerType);
    }
    putLe16(block, kFillerEnd, static_cast<uint16_t>(fmt::node::kLastRecordEnd - kFillerEnd));
    putLe32(block, kFillerEnd + fmt::record::kType, fmt::record::kTypeObject);
}

void damageLength(std::span<uint8_t> block, size_t at, LeafDamageKind kind) {
    uint16_t length = 0;
    if (kind == LeafDamageKind::NegativeLength) length = 0xFFFF;
    if (kind == LeafDamageKind::PastBlockEnd) length = static_cast<uint16_t>(block.size() - at);
    putLe16(block, at, length);
}

}  // namespace

void renderLeaf(const ImageData& image, uint32_t pool, uint32_t volume, uint32_t leaf, std::span<uint8_t> block) {
    const BuiltVolume& built = image.pools[pool].volumes[volume];
    const VolumeRender& render = image.render[pool][volume];
    const BuiltLeaf& info = built.leaves[leaf];
    std::fill(block.begin(), block.end(), 0);
    std::memcpy(block.data(), "LEAF", 4);
    block[fmt::node::kLeafStartByte] = render.shape.recordsAt40 ? 'N' : 0;

    std::vector<size_t> starts;
    size_t at = leafRecordStart(render.shape);
    for (uint32_t i = 0; i < info.recordCount; ++i) {
        const uint32_t entry = built.recordOrder[info.firstRecord + i];
        starts.push_back(at);
        at += writeRecord(block, at, built, entry);
    }
    const size_t recordsEnd = at;
    if (render.shape.links == TreeLinks::LinkRecords && leaf + 1 < built.leaves.size()) {
        writeLinkRecord(block, at, built.leaves[leaf + 1].block);
        at += linkRecordLength();
    }
    if (render.shape.leafLinksToItself && leaf == 0) {
        writeLinkRecord(block, at, info.block);
        at += linkRecordLength();
    }
    for (const LeafDamage& damage : render.damage) {
        if (damage.leaf != leaf) continue;
        if (damage.kind == LeafDamageKind::BadMagic) {
            std::memcpy(block.data(), "LEAX", 4);
        } else if (damage.kind == LeafDamageKind::FieldsPastBlock) {
            writeFieldsPastBlock(block, at);
        } else {
            damageLength(block, damage.atRecord < starts.size() ? starts[damage.atRecord] : recordsEnd, damage.kind);
        }
    }
}

namespace {

void renderRegion(const ImageData& image, const Region& region, uint64_t from, std::span<uint8_t> out) {
    const uint64_t logical = region.logical + (from - region.offset);
    if (region.leaf) {
        std::vector<uint8_t> block(4096);
        renderLeaf(image, region.pool, region.volume, region.item, block);
        std::memcpy(out.data(), block.data() + logical, out.size());
        return;
    }
    const BuiltFile& file = image.pools[region.pool].volumes[region.volume].files[region.item];
    const uint64_t dataEnd = std::clamp<uint64_t>(file.size, logical, logical + out.size());
    fillFileContent(file.seed, file.id, logical, out.first(dataEnd - logical));
    std::fill(out.begin() + static_cast<ptrdiff_t>(dataEnd - logical), out.end(), 0);
}

}  // namespace

void readImage(const ImageData& image, uint64_t offset, std::span<uint8_t> out) {
    std::fill(out.begin(), out.end(), 0);
    if (out.empty()) return;
    const uint64_t end = offset + out.size();
    auto it = std::upper_bound(image.regions.begin(), image.regions.end(), offset,
                               [](uint64_t value, const Region& r) { return value < r.offset; });
    if (it != image.regions.begin()) --it;
    for (; it != image.regions.end() && it->offset < end; ++it) {
        const uint64_t from = std::max(offset, it->offset);
        const uint64_t to = std::min(end, it->offset + it->length);
        if (from >= to) continue;
        renderRegion(image, *it, from, out.subspan(from - offset, to - from));
    }
    image.store.overlay(offset, out);
    for (const RawPatch& patch : image.patches) {
        for (size_t i = 0; i < patch.bytes.size(); ++i) {
            const uint64_t at = patch.offset + i;
            if (at >= offset && at < end) out[at - offset] = patch.bytes[i];
        }
    }
    if (end > image.sizeBytes) {
        const uint64_t keep = image.sizeBytes > offset ? image.sizeBytes - offset : 0;
        std::fill(out.begin() + static_cast<ptrdiff_t>(keep), out.end(), 0);
    }
}

}  // namespace lumbra::test
