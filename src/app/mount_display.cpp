#include "app/mount_display.h"

#include <cstdint>

#include "app/view_element.h"

namespace lumbra {

namespace {
// As many slices needed before a slow area as are ever kept: none is ever told.
constexpr ProgressEstimatorLimits kRatesOnly{.slices = 60, .slicesBeforeSlow = 60};
constexpr double kEstimateSeconds = 0.5;
}  // namespace

MountDisplay::MountDisplay(View& view, SecondsClock clock)
    : view_(view), clock_(std::move(clock)), byPercent_(clock_, kRatesOnly), byFiles_(clock_, kRatesOnly),
      lastEstimate_(clock_()) {}

void MountDisplay::estimate() {
    const double now = clock_();
    if (now - lastEstimate_ < kEstimateSeconds) return;
    lastEstimate_ = now;
    std::string text = ProgressEstimateText({filesRate_.rate, percentLeft_.secondsLeft, std::nullopt}, "files");
    if (text == estimate_) return;
    estimate_ = std::move(text);
    unshown_ |= kEstimate;
}

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
    filesRate_ = byFiles_.update(files_, UINT32_MAX, sector_);
    estimate();
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
    percentLeft_ = byPercent_.update(percent_, 100, sector_);
    estimate();
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
    if (unshown & kEstimate) view_.SetText(Element::ProgressEstimate, estimate_);
}

}  // namespace lumbra
