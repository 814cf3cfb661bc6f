#include "app/mount_display.h"

#include "app/view_element.h"

namespace lumbra {

void MountDisplay::currentSector(uint64_t sector) {
    sector_ = sector;
    changed(kSector);
}

// A record's count waits for its name, which follows it, so that both are shown together.
void MountDisplay::foldersFound(uint32_t count) {
    folders_ = count;
    unshown_ |= kFolders;
}

void MountDisplay::filesFound(uint32_t count) {
    files_ = count;
    unshown_ |= kFiles;
}

void MountDisplay::lastFileFolder(std::string_view name) {
    name_.assign(name);
    changed(kName);
}

void MountDisplay::statusLine(std::string_view text) {
    status_.assign(text);
    changed(kStatus);
}

void MountDisplay::progress(uint32_t percent) {
    percent_ = percent;
    changed(kPercent);
}

void MountDisplay::changed(Value value) {
    unshown_ |= value;
    if (view_.ReadyForProgress()) flush();
}

void MountDisplay::flush() {
    const uint32_t unshown = unshown_;
    unshown_ = 0;
    if (unshown & kSector) view_.SetText(InfoValue(3), std::to_string(sector_));
    if (unshown & kFolders) view_.SetText(InfoValue(1), std::to_string(folders_));
    if (unshown & kFiles) view_.SetText(InfoValue(2), std::to_string(files_));
    if (unshown & kName) view_.SetText(InfoValue(4), name_);
    if (unshown & kStatus) view_.SetText(Element::StatusLine, status_);
    if (unshown & kPercent) view_.SetProgress(percent_);
}

}  // namespace lumbra
