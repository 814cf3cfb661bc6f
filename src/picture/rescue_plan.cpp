#include "picture/rescue_plan.h"

#include "disk/range_merge.h"
#include "recovery/file_copy.h"

namespace lumbra {

std::optional<PlanContent> PlanContentNamed(std::string_view name) {
    if (name == "metadata") return PlanContent::Metadata;
    if (name == "files") return PlanContent::Files;
    if (name == "used") return PlanContent::Used;
    return std::nullopt;
}

std::vector<bool> ChosenFiles(const RecoveredTree& tree, const SaveSelection& selection,
                              const std::vector<std::string>& filters) {
    std::vector<bool> chosen(tree.files().size(), false);
    for (size_t index : SelectedFiles(tree, selection))
        if (index < chosen.size() && PassesFileFilters(tree.files()[index].name, filters)) chosen[index] = true;
    return chosen;
}

void RescuePlan::add(uint64_t first, uint64_t count) {
    if (count > 0) sectors_ += MergeRange(ends_, first, ClampedEnd(first, count));
}

void RescuePlan::addPicture(const DiskPicture& picture, PlanContent content, const std::vector<bool>* chosen) {
    const bool metadata = content != PlanContent::Files;
    const bool files = content != PlanContent::Metadata;
    for (const PictureSpan& span : picture.spans()) {
        switch (span.kind) {
            case PictureKind::PartitionTable:
            case PictureKind::PartitionHeader:
            case PictureKind::Metadata:
                if (metadata) add(span.first, span.count);
                break;
            case PictureKind::FileData:
                if (files && (!chosen || (span.owner < chosen->size() && (*chosen)[span.owner]))) add(span.first, span.count);
                break;
            default:
                break;
        }
    }
}

std::vector<SectorRange> RescuePlan::ranges() const { return RangeList(ends_); }

}  // namespace lumbra
