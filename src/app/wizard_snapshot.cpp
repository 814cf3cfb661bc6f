// Saving and loading recovery snapshots.
#include "app/option_groups.h"
#include "app/wizard_controller.h"
#include "snapshot/snapshot_disk_check.h"
#include "snapshot/snapshot_reader.h"
#include "snapshot/snapshot_writer.h"

namespace lumbra {

void WizardController::SaveSnapshot() {
    if (session_.wizard.currentStep() != WizardStep::StepBrowse) return;
    const auto chosen = view_.AskSnapshotSaveName();
    if (!chosen) return;
    const WizardState& wizard = session_.wizard;
    const SnapshotState state{wizard.selectedDrive, session_.selectedPool, session_.objectTree,
                              session_.volumes,     wizard.selectedPool,   wizard.selectedVolume};
    PosixDestinationFiles files(&session_.inputs);
    if (auto error = lumbra::SaveSnapshot(files, SnapshotSavePath(*chosen), state, session_.records))
        view_.ShowMessage(MessageKind::Error, error->message);
}

void WizardController::LoadSnapshot() {
    WizardState& wizard = session_.wizard;
    if (wizard.currentStep() != WizardStep::StepDisks || wizard.busy()) return;
    const auto chosen = view_.AskSnapshotLoadName();
    if (!chosen) return;
    SnapshotLoadResult result = LoadSnapshotFile(*chosen);
    if (const auto* error = std::get_if<SnapshotLoadError>(&result)) {
        view_.ShowMessage(MessageKind::Error, error->message);
        return;
    }
    LoadedSnapshot& loaded = std::get<LoadedSnapshot>(result);
    // Nothing changes until the drive row is known to carry the snapshot's pool and volume.
    const size_t row = loaded.state.selectedDrive;
    bool refused = false;
    auto reader = OpenDriveRow(row, refused);
    if (refused) return;
    if (!SnapshotFitsDisk(*reader, loaded.state)) {
        const auto& rows = session_.disk.driveTable().rows;
        view_.ShowMessage(MessageKind::Error,
                          SnapshotFromAnotherDiskText(*chosen, row, row < rows.size() ? rows[row].path : std::string()));
        return;
    }
    session_.inputs.add(*chosen);
    session_.records.ClearRecords();
    view_.Disable(Element::DriveTree);
    view_.Hide(Element::DriveTree);
    wizard.selectedDrive = loaded.state.selectedDrive;
    session_.reader = std::move(reader);
    session_.selectedPool = std::move(loaded.state.pool);
    session_.objectTree = loaded.state.objectTree;
    session_.volumes = std::move(loaded.state.volumes);
    wizard.selectedPool = loaded.state.selectedPool;
    wizard.selectedVolume = loaded.state.selectedVolume;
    session_.records = std::move(loaded.records);
    OpenBrowseStepFromSnapshot();
}

void WizardController::OpenBrowseStepFromSnapshot() {
    WizardState& wizard = session_.wizard;
    wizard.stopRequested = 0;
    wizard.setStep(WizardStep::StepVolumes);
    CreateStepTree(TreeKind::Directory);
    view_.Show(Element::DirectoryTree);
    view_.Disable(Element::DirectoryTree);
    wizard.setStep(WizardStep::StepBrowse);
    LeaveDiskStep();
    // The range fields would stay focusable under the file list.
    HideRangeGroup(view_);
    for (Element button : {Element::NextButton, Element::BackButton, Element::StopButton}) {
        view_.Hide(button);
        view_.Disable(button);
    }
    EnterBrowseView();
    view_.Hide(Element::ProgressBar);
    ApplyMenu(MenuMode::Browse);
    wizard.workerBusy = 0;
    SetQuickHelp(QuickHelp::Browse);
}

}  // namespace lumbra
