#pragma once
// The mount's progress, written into the MountProgress layout of the wizard's View. The mount
// reports every record it reads; a view that cannot show values that fast is handed only the
// latest ones whenever it is ready for them, and every value still unshown at the end. Beside
// the progress bar: the files found a second and the time left by the bar, as the scan's.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/view.h"
#include "disk/progress_estimator.h"
#include "recovery/mount_events.h"

namespace lumbra {

class MountDisplay : public MountEvents {
public:
    MountDisplay(View& view, SecondsClock clock);

    void currentSector(uint64_t sector) override;
    void foldersFound(uint32_t count) override;
    void filesFound(uint32_t count) override;
    void lastFileFolder(std::string_view name) override;
    void statusLine(std::string_view text) override;
    void progress(uint32_t percent) override;

    // Hands the view the values it has not been given yet; before the view's next other call.
    void flush();

private:
    enum Value : uint32_t { kSector = 1, kFolders = 2, kFiles = 4, kName = 8, kStatus = 16, kPercent = 32, kEstimate = 64 };

    void changed(Value value);
    // The estimate again, at most twice a second.
    void estimate();

    View& view_;
    uint32_t unshown_ = 0;
    uint64_t sector_ = 0;
    uint32_t folders_ = 0;
    uint32_t files_ = 0;
    uint32_t percent_ = 0;
    std::string name_;
    std::string status_;
    std::string estimate_;
    SecondsClock clock_;
    // The bar moves a whole percent at a time and the files come in bursts: neither tells a
    // slow area of the disk, so only their rates are taken.
    ProgressEstimator byPercent_;
    ProgressEstimator byFiles_;
    ProgressEstimate percentLeft_;
    ProgressEstimate filesRate_;
    double lastEstimate_;
};

}  // namespace lumbra
