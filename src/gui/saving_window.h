#pragma once
// "Saving the data please wait": shown while the saving worker copies the selected files;
// "S&kip File" skips the rest of the current file, "&Stop Saving" ends the run. The window
// closes itself when the worker reports the last file done.
#include <string>

#include "gui/gui_thread.h"
#include "gui/picture_dialog.h"
#include "recovery/recovery_run.h"
#include "recovery/saving_observer.h"
#include "disk/counting_sector_reader.h"
#include "disk/progress_estimator.h"

class QLabel;

namespace lumbra {

class ProgressBar;
struct Session;

class SavingWindow : public PictureDialog, public SavingObserver {
    Q_OBJECT
public:
    SavingWindow(SavingFlags& flags, QWidget* parent);

    // Saves the selection below `destination` on a worker while the window is shown, with the
    // report beside the files.
    RecoveryRunResult run(Session& session, const SaveSelection& selection, const std::string& destination);

    void fileStarted(const std::string& path, const std::string& name, uint32_t totalFiles) override;
    void fileProgress(uint32_t percent) override;
    void savingDone() override;

protected:
    // The window has no close box, and Escape does not close it either.
    void reject() override {}

private:
    SavingFlags& flags_;
    QLabel* path_;
    QLabel* name_;
    QLabel* total_;
    ProgressBar* progress_;
    QLabel* estimate_;
    // The reads of the run and the sectors the chosen files take, for the rate and time left.
    CountingSectorReader* counted_ = nullptr;
    uint64_t totalSectors_ = 0;
    ProgressEstimator estimator_;
    double lastEstimate_ = -1;
    mutable OrderedCalls calls_{this};
};

}  // namespace lumbra
