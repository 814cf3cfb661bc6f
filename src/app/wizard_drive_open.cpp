// The disk step's Next on a drive that needs administrator rights: pkexec may ask the user for a
// long time, so the drive opens on a worker while the window goes on drawing and answering.
#include "app/option_groups.h"
#include "app/wizard_controller.h"

namespace lumbra {

void WizardController::StartOpeningWithRights(size_t row, uint16_t badSectorRetries, std::optional<ScanRange> range) {
    JoinFinishedWorker();
    WizardState& wizard = session_.wizard;
    wizard.workerBusy = 1;
    wizard.openingDrive = 1;
    ShowWaitingForRights(row);
    worker_ = std::thread([this, row, badSectorRetries, range = std::move(range)] {
        OpenFailure failure = OpenFailure::None;
        auto reader = session_.disk.OpenDrive(row, badSectorRetries, nullptr, &failure);
        EndWaitingForRights();
        std::optional<ResumableScanRequest> scan = GoOnFromDisks(std::move(reader), failure, range);
        session_.wizard.openingDrive = 0;
        if (!scan) {
            // Refused, or no pool in the partition table: the disk step's commands come back
            // only now, once the reader is the session's.
            if (session_.wizard.currentStep() == WizardStep::StepDisks) ApplyMenu(diskStepMenu_);
            session_.wizard.workerBusy = 0;
            return;
        }
        // Already on a worker: the scan runs here rather than on one of its own.
        PrepareScan(*scan);
        RunScan(*scan);
    });
}

// Nothing of the step can be chosen while the question is open: the drive tree, the options and
// the commands that would touch the drive wait, and Next stays hidden.
void WizardController::ShowWaitingForRights(size_t row) {
    diskStepMenu_ = menu_.mode();
    ApplyMenu(MenuMode::Waiting);
    view_.Disable(Element::DriveTree);
    HideIdentifyGroup(view_);
    HideRangeGroup(view_);
    view_.SetText(Element::StatusLine, std::string(wizard_text::kWaitingForRightsBefore) + DriveLabel(row) +
                                           std::string(wizard_text::kWaitingForRightsAfter));
    view_.Show(Element::StatusLine);
}

void WizardController::EndWaitingForRights() {
    view_.Hide(Element::StatusLine);
    view_.SetText(Element::StatusLine, "");
    ShowIdentifyGroup(view_);
    if (session_.wizard.identifyOption == kSearchPartition) ShowRangeGroup(view_);
    view_.Enable(Element::DriveTree);
}

}  // namespace lumbra
