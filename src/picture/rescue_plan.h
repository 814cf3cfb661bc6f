#pragma once
// A rescue plan: the sectors of a disk that a rescue copier should read first, as sorted,
// merged ranges, gathered from the spans of the disk picture. Metadata is what a mount needs
// (partition structures, pool headers, superblock, object tree, volume B-tree blocks); files
// are the data blocks of the files chosen.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "disk/damage_map.h"
#include "picture/disk_picture.h"
#include "recovery/record_lists.h"
#include "recovery/save_driver.h"

namespace lumbra {

enum class PlanContent : uint8_t { Metadata, Files, Used };

// "metadata", "files" or "used"; nullopt for any other word.
std::optional<PlanContent> PlanContentNamed(std::string_view name);

// The files of the tree a selection takes (as the saving takes them) whose names pass the
// filters (every name when there are none), marked by index in the file list.
std::vector<bool> ChosenFiles(const RecoveredTree& tree, const SaveSelection& selection,
                              const std::vector<std::string>& filters);

class RescuePlan {
public:
    // Adds [first, first + count); the end is clamped instead of wrapping.
    void add(uint64_t first, uint64_t count);
    // The spans of the picture that belong to `content`; of the files, those whose index in
    // the file list `chosen` marks (every file when it is null).
    void addPicture(const DiskPicture& picture, PlanContent content, const std::vector<bool>* chosen = nullptr);

    std::vector<SectorRange> ranges() const;
    uint64_t sectors() const { return sectors_; }

private:
    std::map<uint64_t, uint64_t> ends_;  // first sector -> one past the last; disjoint, not touching
    uint64_t sectors_ = 0;
};

}  // namespace lumbra
