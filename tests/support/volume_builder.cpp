#include "support/volume_builder.h"

#include <unordered_set>

#include "disk/sector.h"
#include "support/nss_format.h"
#include "support/record_writer.h"
#include "support/utf16_names.h"

namespace lumbra::test {

namespace {

// A spread of dates from 2001 to 2020 that depends only on the object.
uint32_t defaultTime(uint64_t id) { return 1000000000u + static_cast<uint32_t>((id * 2654435761u) % 600000000u); }

std::shared_ptr<const RecordTweaks> tweaksOrNull(const RecordTweaks& t) {
    const bool any = t.parentField || t.blockCountField || t.firstBlockField || t.nameLengthField ||
                     t.typeField || t.kindField || !t.edits.empty();
    return any ? std::make_shared<const RecordTweaks>(t) : nullptr;
}

class IdSource {
public:
    IdSource(const VolumePlan& plan) : next_(plan.nextId) {
        for (const FolderPlan& f : plan.folders)
            if (f.id) used_.insert(*f.id);
        for (const FilePlan& f : plan.files)
            if (f.id) used_.insert(*f.id);
    }
    uint64_t take(const std::optional<uint64_t>& given) {
        if (given) return *given;
        while (used_.count(next_)) ++next_;
        return next_++;
    }

private:
    std::unordered_set<uint64_t> used_;
    uint64_t next_;
};

BuiltFolder makeFolder(const FolderPlan& plan, IdSource& ids) {
    BuiltFolder folder;
    folder.id = ids.take(plan.id);
    folder.parent = plan.parent;
    folder.name = plan.name;
    folder.time = plan.time.value_or(defaultTime(folder.id));
    folder.excluded = plan.excluded;
    folder.duplicate = plan.duplicate;
    folder.tweaks = tweaksOrNull(plan.tweaks);
    return folder;
}

BuiltFile makeFile(const FilePlan& plan, IdSource& ids, uint64_t contentSeed) {
    BuiltFile file;
    file.id = ids.take(plan.id);
    file.parent = plan.parent;
    file.name = plan.name;
    file.size = plan.size;
    file.time = plan.time.value_or(defaultTime(file.id));
    file.seed = plan.seed.value_or(contentSeed);
    file.blockCount = static_cast<uint32_t>((plan.size + kBlockSize - 1) / kBlockSize);
    file.runs = plan.runs;
    if (!file.runs.empty()) file.firstBlock = file.runs[0].start;
    file.duplicate = plan.duplicate;
    file.tweaks = tweaksOrNull(plan.tweaks);
    return file;
}

void orderRecords(BuiltVolume& v, bool filesFirst) {
    const auto folders = [&](bool duplicatesOnly) {
        for (uint32_t i = 0; i < v.folders.size(); ++i)
            if (!duplicatesOnly || v.folders[i].duplicate) v.recordOrder.push_back(i);
    };
    const auto files = [&](bool duplicatesOnly) {
        for (uint32_t i = 0; i < v.files.size(); ++i)
            if (!duplicatesOnly || v.files[i].duplicate) v.recordOrder.push_back(i | kFileRecordBit);
    };
    if (filesFirst) {
        files(false);
        folders(false);
    } else {
        folders(false);
        files(false);
    }
    folders(true);
    files(true);
}

size_t leafReserve(const VolumePlan& plan, size_t leaf) {
    size_t bytes = plan.tree.links == TreeLinks::LinkRecords ? linkRecordLength() : 0;
    if (plan.tree.leafLinksToItself && leaf == 0) bytes += linkRecordLength();
    for (const LeafDamage& d : plan.damage)
        if (d.leaf == leaf && d.kind == LeafDamageKind::FieldsPastBlock) bytes += 16;
    return bytes;
}

// Which records of each leaf a walk can read, and which leaves it reaches at all.
void markDamage(PlannedVolume& volume) {
    BuiltVolume& v = volume.built;
    bool chainCut = false;
    for (uint32_t i = 0; i < v.leaves.size(); ++i) {
        BuiltLeaf& leaf = v.leaves[i];
        leaf.keptRecords = leaf.recordCount;
        leaf.reachable = !chainCut;
        for (const LeafDamage& d : volume.render.damage) {
            if (d.leaf != i || d.kind == LeafDamageKind::FieldsPastBlock) continue;
            leaf.keptRecords = d.kind == LeafDamageKind::BadMagic ? 0 : std::min(leaf.keptRecords, d.atRecord);
            if (volume.render.shape.links == TreeLinks::LinkRecords) chainCut = true;
        }
    }
    std::vector<uint8_t> seen(v.recordOrder.size() ? v.folders.size() + v.files.size() : 0, 0);
    std::vector<uint8_t> kept(seen.size(), 0);
    for (uint32_t i = 0; i < v.leaves.size(); ++i) {
        for (uint32_t r = 0; r < v.leaves[i].recordCount; ++r) {
            const uint32_t entry = v.recordOrder[v.leaves[i].firstRecord + r];
            const size_t slot = entry & kFileRecordBit ? v.folders.size() + (entry & ~kFileRecordBit) : entry;
            if (!seen[slot]) {
                if (entry & kFileRecordBit) v.files[entry & ~kFileRecordBit].leaf = i;
                else v.folders[entry].leaf = i;
            }
            seen[slot] = 1;
            if (v.leaves[i].reachable && r < v.leaves[i].keptRecords) kept[slot] = 1;
        }
    }
    for (size_t i = 0; i < v.folders.size(); ++i) v.folders[i].lostByDamage = !kept[i];
    for (size_t i = 0; i < v.files.size(); ++i) v.files[i].lostByDamage = !kept[v.folders.size() + i];
}

}  // namespace

PlannedVolume planVolume(const VolumePlan& plan, uint64_t contentSeed) {
    PlannedVolume volume;
    BuiltVolume& v = volume.built;
    v.name = plan.name;
    v.listed = plan.listed;
    v.expectedName = lowBytesName(utf16FromUtf8(plan.name));
    IdSource ids(plan);
    v.folders.reserve(plan.folders.size());
    for (const FolderPlan& f : plan.folders) v.folders.push_back(makeFolder(f, ids));
    v.files.reserve(plan.files.size());
    for (const FilePlan& f : plan.files) {
        v.files.push_back(makeFile(f, ids, contentSeed));
        volume.fileFragments.push_back(std::max(f.fragments, 1u));
        const BuiltFile& file = v.files.back();
        if (!f.runs.empty()) {
            volume.placedRuns.insert(volume.placedRuns.end(), f.runs.begin(), f.runs.end());
        } else if (file.blockCount > 0) {
            volume.autoDataBlocks += file.blockCount + std::min<uint64_t>(volume.fileFragments.back(), file.blockCount) - 1;
        }
    }
    orderRecords(v, plan.filesFirst);
    volume.render = {plan.tree, plan.damage};
    volume.layout = layoutTree(
        v.recordOrder.size(),
        [&](size_t i) {
            const uint32_t entry = v.recordOrder[i];
            return entry & kFileRecordBit ? fileRecordLength(v.files[entry & ~kFileRecordBit])
                                          : folderRecordLength(v.folders[entry]);
        },
        [&](size_t leaf) { return leafReserve(plan, leaf); }, plan.tree);
    for (const LeafRange& range : volume.layout.leaves)
        v.leaves.push_back({.firstRecord = range.firstRecord, .recordCount = range.recordCount});
    markDamage(volume);
    return volume;
}

void placeVolume(PlannedVolume& volume, BlockAllocator& allocator) {
    BuiltVolume& v = volume.built;
    std::vector<uint64_t> nodeBlocks(volume.layout.nodeCount());
    for (uint64_t& block : nodeBlocks) block = allocator.take();
    for (size_t i = 0; i < volume.layout.branches.size(); ++i) v.branchBlocks.push_back(nodeBlocks[i]);
    for (size_t i = 0; i < v.leaves.size(); ++i) {
        v.leaves[i].block = nodeBlocks[volume.layout.leafNode(i)];
        v.leafBlocks.push_back(v.leaves[i].block);
    }
    v.rootBlock = nodeBlocks[0];
    for (size_t i = 0; i < v.files.size(); ++i) {
        BuiltFile& file = v.files[i];
        if (!file.runs.empty() || file.blockCount == 0) continue;
        file.runs = allocator.takeRuns(file.blockCount, volume.fileFragments[i]);
        file.firstBlock = file.runs[0].start;
    }
}

}  // namespace lumbra::test
