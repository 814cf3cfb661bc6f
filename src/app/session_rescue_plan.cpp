#include "app/session_rescue_plan.h"

#include <algorithm>
#include <filesystem>

#include "app/disk_map_facts.h"
#include "disk/rescue_map.h"
#include "disk/sector.h"
#include "disk/source_disk.h"
#include "recovery/destination_files.h"

namespace lumbra {

std::string SessionRescuePlanText(Session& session, PlanContent content, const SaveSelection& selection) {
    const DiskFacts facts = SessionDiskFacts(session);
    const DiskPicture picture = LayDiskOut(facts);
    RescuePlan plan;
    const bool chooses = !selection.folderIndexes.empty() || !selection.fileIndexes.empty();
    const std::vector<bool> chosen = chooses ? ChosenFiles(session.records, selection, {}) : std::vector<bool>();
    plan.addPicture(picture, content, chooses ? &chosen : nullptr);
    // A partial image may end before the disk does; its map covers the whole disk.
    const uint64_t mapSectors = session.disk.rescueMapEnd(session.wizard.selectedDrive).value_or(0) / kSectorSize;
    return DomainMapText(plan.ranges(), std::max(picture.diskSectors(), mapSectors));
}

std::optional<std::string> SaveSessionRescuePlan(Session& session, const std::string& path, PlanContent content,
                                                 const SaveSelection& selection) {
    PosixDestinationFiles files(&session.inputs);
    if (const auto input = files.inputAt(path)) return ReplacesInputText(path, *input);
    const auto& drives = session.disk.driveTable().rows;
    if (session.wizard.selectedDrive < drives.size() &&
        FolderOnSource(std::filesystem::path(path).parent_path().string(), drives[session.wizard.selectedDrive].path,
                       session.sysRoot))
        return std::string(kDestinationOnSourceText);
    const std::string text = SessionRescuePlanText(session, content, selection);
    auto file = files.create(path);
    if (!file || !file->write(reinterpret_cast<const uint8_t*>(text.data()), text.size()) || !file->close())
        return "The rescue plan could not be written to " + path + ".";
    return std::nullopt;
}

}  // namespace lumbra
