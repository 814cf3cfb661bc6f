// Back, Stop, and the end of the program.
#include "app/option_groups.h"
#include "app/wizard_controller.h"

namespace lumbra {

void WizardController::OnBack() {
    WizardState& wizard = session_.wizard;
    if (wizard.busy()) return;
    const WizardStep step = wizard.currentStep();
    if (step != WizardStep::StepPools && step != WizardStep::StepVolumes && step != WizardStep::StepBrowse) return;
    view_.SetListViewMode(ListViewMode::Details);
    view_.Disable(Element::NextButton);
    view_.Hide(Element::NextButton);
    list_.deleteAllRows();
    view_.Hide(Element::FileList);

    if (step == WizardStep::StepPools) {
        session_.reader.reset();
        ReturnToDiskStep();
        return;
    }
    if (step == WizardStep::StepVolumes) {
        wizard.setStep(WizardStep::StepPools);
        view_.Hide(Element::VolumeTree);
        view_.Disable(Element::VolumeTree);
        view_.Show(Element::PoolTree);
        view_.Enable(Element::PoolTree);
        ApplyMenu(MenuMode::Choosing);
        ApplyLayout(InfoLayout::PoolInfo);
        SetQuickHelp(QuickHelp::SelectPool);
    } else {
        session_.records.ClearRecords();
        view_.Show(Element::VolumeTree);
        view_.Enable(Element::VolumeTree);
        view_.Hide(Element::DirectoryTree);
        list_.deleteAllRows();
        view_.SetListColumns({{std::string(wizard_text::kDetailsHeader), 500, false}});
        wizard.setStep(WizardStep::StepVolumes);
        ApplyMenu(MenuMode::Choosing);
        ApplyLayout(InfoLayout::VolumeInfo);
        SetQuickHelp(QuickHelp::SelectVolumeAgain);
    }
    view_.Hide(Element::StatusLine);
    view_.SetText(Element::StatusLine, "");
}

void WizardController::ReturnToDiskStep() {
    WizardState& wizard = session_.wizard;
    view_.Show(Element::DriveTree);
    view_.Enable(Element::DriveTree);
    view_.Hide(Element::PoolTree);
    view_.Disable(Element::PoolTree);
    list_.deleteAllRows();
    ShowIdentifyGroup(view_);
    view_.Disable(Element::BackButton);
    view_.Hide(Element::BackButton);
    if (wizard.identifyOption == kSearchPartition) ShowRangeGroup(view_);
    ApplyMenu(MenuMode::BackAtStart);
    ApplyLayout(InfoLayout::DiskInfo);
    wizard.setStep(WizardStep::StepDisks);
    SetQuickHelp(QuickHelp::SelectDiskAgain);
    // The drive chosen before stays highlighted: the step can go on from it at once.
    ShowNextForHighlightedDrive();
}

void WizardController::OnStop() {
    if (!session_.wizard.busy()) return;
    // The worker waits at its next sector while the question is open.
    workerPause_.pause();
    const bool stop = view_.AskYesNo(MessageKind::Question, wizard_text::kStopQuestion) == Answer::Yes;
    if (stop && session_.wizard.busy()) session_.wizard.stopRequested = 1;
    workerPause_.resume();
}

void WizardController::OnExitCommand() {
    if (view_.AskYesNo(MessageKind::Question, wizard_text::kExitQuestion) != Answer::Yes) return;
    // A running worker still writes the records; the process ends at once, which frees them.
    if (!session_.wizard.busy()) session_.records.ClearRecords();
    OpenHomePage();
    desktop_.EndProcess(0);
}

bool WizardController::OnCloseRequest() {
    if (view_.AskYesNo(MessageKind::Question, wizard_text::kExitQuestion) != Answer::Yes) return false;
    if (session_.wizard.busy()) {
        // The worker may be waiting for the window it reports to; rather than closing the window
        // under it, the application ends here, as it would once the window had closed.
        session_.wizard.stopRequested = 1;
        OpenHomePage();
        desktop_.EndProcess(0);
        return true;
    }
    session_.records.ClearRecords();
    OpenHomePage();
    return true;
}

}  // namespace lumbra
