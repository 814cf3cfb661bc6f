// The reference result of a volume-based mount of a built volume: which records a walk admits,
// in which order, the "DirN" folders the lost-data search invents, and every item's path.
#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "disk/sector.h"
#include "support/nss_format.h"
#include "support/nss_image.h"
#include "support/record_writer.h"
#include "support/utf16_names.h"

namespace lumbra::test {

namespace fmt = format;

namespace {

struct Written {  // the fields a walk reads back from a record
    uint64_t parent = 0;
    std::string name;
    bool skipped = false;  // not an object record of its own kind
};

Written readBack(std::string_view utf8Name, uint64_t parent, const RecordTweaks* tweaks, uint8_t kind, bool wideParent) {
    Written w;
    const std::u16string units = utf16FromUtf8(utf8Name).substr(0, 255);
    const size_t length = tweaks && tweaks->nameLengthField ? *tweaks->nameLengthField : units.size();
    w.name = lowBytesName(units, length);
    w.parent = tweaks && tweaks->parentField ? *tweaks->parentField : parent == 0 ? fmt::record::kRootParent : parent;
    if (!wideParent) w.parent &= 0xFFFFFFFFu;
    if (w.parent == fmt::record::kRootParent) w.parent = 0;
    w.skipped = tweaks && ((tweaks->typeField && *tweaks->typeField != fmt::record::kTypeObject) ||
                           (tweaks->kindField && *tweaks->kindField != kind));
    return w;
}

// One leaf block as a mount meets it.
struct LeafVisit {
    const BuiltVolume* volume = nullptr;
    int volumeIndex = 0;
    const BuiltLeaf* leaf = nullptr;
};

class MountModel {
public:
    ExpectedMount run(const std::vector<LeafVisit>& visits) {
        for (const LeafVisit& visit : visits) {
            v_ = visit.volume;
            volumeIndex_ = visit.volumeIndex;
            for (uint32_t r = 0; r < visit.leaf->keptRecords; ++r) admit(v_->recordOrder[visit.leaf->firstRecord + r]);
        }
        searchLostFolders();
        fillPaths();
        return std::move(result_);
    }

private:
    void admit(uint32_t entry) {
        if (entry & kFileRecordBit) admitFile(entry & ~kFileRecordBit);
        else admitFolder(entry);
    }

    void admitFile(uint32_t index) {
        const BuiltFile& f = v_->files[index];
        const RecordTweaks* t = f.tweaks.get();
        const Written w = readBack(f.name, f.parent, t, fmt::record::kKindFile, true);
        const uint32_t blockCount = t && t->blockCountField ? *t->blockCountField : f.blockCount;
        if (w.skipped || blockCount != (f.size + kBlockSize - 1) / kBlockSize || w.name.empty()) return;
        if (f.time >= fmt::kLatestTime) return;
        const uint64_t firstBlock = t && t->firstBlockField ? *t->firstBlockField : f.firstBlock;
        result_.files.push_back({f.id, w.parent, w.name, f.time, f.size, firstBlock, blockCount, "", static_cast<int>(index), volumeIndex_});
    }

    void admitFolder(uint32_t index) {
        const BuiltFolder& f = v_->folders[index];
        const Written w = readBack(f.name, f.parent, f.tweaks.get(), fmt::record::kKindFolder, false);
        const uint64_t id = f.id & 0xFFFFFFFFu;
        if (w.skipped || f.excluded || id == 0 || id == 0xFFFFFFFFu || w.name.empty()) return;
        if (f.time >= fmt::kLatestTime || !folderIds_.insert(id).second) return;
        result_.folders.push_back({id, w.parent, w.name, f.time, 0, 0, 0, "", static_cast<int>(index), volumeIndex_});
    }

    void searchLostFolders() {
        int invented = 0;
        for (size_t i = 0; i < result_.folders.size(); ++i) {
            const uint64_t parent = result_.folders[i].parentId;
            if (parent == 0 || folderIds_.count(parent)) continue;
            folderIds_.insert(parent);
            result_.folders.push_back({parent, 0, "Dir" + std::to_string(invented++), 0, 0, 0, 0, "", -1});
        }
    }

    // A folder shows in the tree under the first folder whose low 32 bits of id equal its
    // parent, provided its parent has no high half; files show under the folder with their
    // parent's full id.
    void fillPaths() {
        std::unordered_map<uint64_t, size_t> byLowId, byId;
        for (size_t i = 0; i < result_.folders.size(); ++i) {
            byLowId.try_emplace(result_.folders[i].objectId & 0xFFFFFFFFu, i);
            byId.try_emplace(result_.folders[i].objectId, i);
        }
        std::vector<int> state(result_.folders.size(), 0);  // 0 open, 1 in progress, 2 done
        std::function<const std::string*(size_t)> pathOf = [&](size_t i) -> const std::string* {
            ExpectedItem& f = result_.folders[i];
            if (state[i] == 2) return f.path.empty() ? nullptr : &f.path;
            if (state[i] == 1) return nullptr;  // a loop of parents never reaches the root
            state[i] = 1;
            const std::string* base = nullptr;
            static const std::string root;
            if (f.parentId == 0) base = &root;
            else if (f.parentId >> 32 == 0 && byLowId.count(f.parentId)) base = pathOf(byLowId[f.parentId]);
            if (base) f.path = *base + "/" + f.name;
            state[i] = 2;
            return base ? &f.path : nullptr;
        };
        for (size_t i = 0; i < result_.folders.size(); ++i) pathOf(i);
        for (ExpectedItem& file : result_.files) {
            if (file.parentId == 0) file.path = "/" + file.name;
            else if (byId.count(file.parentId) && !result_.folders[byId[file.parentId]].path.empty())
                file.path = result_.folders[byId[file.parentId]].path + "/" + file.name;
        }
    }

    const BuiltVolume* v_ = nullptr;
    int volumeIndex_ = 0;
    ExpectedMount result_;
    std::unordered_set<uint64_t> folderIds_;
};

template <typename Item>
std::string pathThroughFolders(const BuiltVolume& volume, const Item& item) {
    std::unordered_map<uint64_t, const BuiltFolder*> byId;
    for (const BuiltFolder& f : volume.folders) byId.try_emplace(f.id, &f);
    std::string path = "/" + item.name;
    uint64_t parent = item.parent;
    for (size_t depth = 0; parent != 0 && depth <= volume.folders.size(); ++depth) {
        auto it = byId.find(parent);
        if (it == byId.end()) return "?" + path;
        path = "/" + it->second->name + path;
        parent = it->second->parent;
    }
    return parent == 0 ? path : "?" + path;
}

}  // namespace

ExpectedMount NssImage::expectedMount(const BuiltVolume& volume) {
    std::vector<LeafVisit> visits;
    for (const BuiltLeaf& leaf : volume.leaves)
        if (leaf.reachable) visits.push_back({&volume, 0, &leaf});
    return MountModel().run(visits);
}

ExpectedMount NssImage::expectedPoolMount(const BuiltPool& pool) {
    std::vector<LeafVisit> visits;
    for (size_t v = 0; v < pool.volumes.size(); ++v)
        for (const BuiltLeaf& leaf : pool.volumes[v].leaves) visits.push_back({&pool.volumes[v], static_cast<int>(v), &leaf});
    std::stable_sort(visits.begin(), visits.end(), [](const LeafVisit& a, const LeafVisit& b) { return a.leaf->block < b.leaf->block; });
    return MountModel().run(visits);
}

std::string NssImage::declaredPath(const BuiltVolume& volume, const BuiltFile& file) {
    return pathThroughFolders(volume, file);
}

std::string NssImage::declaredPath(const BuiltVolume& volume, const BuiltFolder& folder) {
    return pathThroughFolders(volume, folder);
}

}  // namespace lumbra::test
