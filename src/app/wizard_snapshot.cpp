// Saving and loading recovery snapshots.
#include "app/option_groups.h"
#include "app/snapshot_texts.h"
#include "app/wizard_controller.h"
#include "snapshot/snapshot_disk_check.h"
#include "snapshot/snapshot_reader.h"
#include "snapshot/snapshot_writer.h"

namespace lumbra {

void WizardController::SaveSnapshot() {
    if (session_.wizard.currentStep() != WizardStep::StepBrowse) return;
    if (session_.treePartial && view_.AskYesNo(MessageKind::Question, kSavePartialSnapshotQuestion) != Answer::Yes)
        return;
    const auto chosen = view_.AskSnapshotSaveName();
    if (!chosen) return;
    const WizardState& wizard = session_.wizard;
    const SnapshotState state{wizard.selectedDrive, session_.selectedPool, session_.objectTree,
                              session_.volumes,     wizard.selectedPool,   wizard.selectedVolume,
                              session_.treeSample,  session_.treePartial};
    PosixDestinationFiles files(&session_.inputs);
    const std::string path = SnapshotSavePath(*chosen);
    if (auto error = lumbra::SaveSnapshot(files, path, state, session_.records)) {
        view_.ShowMessage(MessageKind::Error, error->message);
        return;
    }
    view_.ShowMessage(MessageKind::Information, SnapshotSavedText(path, session_.treePartial));
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
    // Nothing changes until a drive is known to carry the snapshot's pool, volume and tree.
    auto disk = FindDiskOfSnapshot(loaded.state);
    if (!disk) return;
    loaded.state.selectedDrive = static_cast<uint16_t>(disk->row);
    auto reader = std::move(disk->reader);
    for (const std::string& line :
         SnapshotCheckWarnings(disk->check, *chosen, disk->row, session_.disk.driveTable().rows[disk->row].path))
        view_.ShowMessage(MessageKind::Information, line);
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
    session_.treeSample = std::move(loaded.state.treeSample);
    session_.treePartial = loaded.state.partial;
    OpenBrowseStepFromSnapshot();
    if (session_.treePartial)
        view_.ShowMessage(MessageKind::Information, kPartialSnapshotLoadedText);
}

std::optional<SnapshotDriveFit> WizardController::FindDiskOfSnapshot(const SnapshotState& state) {
    const size_t row = state.selectedDrive;
    const auto& rows = session_.disk.driveTable().rows;
    const uint16_t retries = session_.settings.badSectorRetries;
    // Its own row first, unless that disk needs rights not held yet: the user may not have meant it.
    std::optional<size_t> own = row < rows.size() ? std::optional<size_t>(row) : std::nullopt;
    if (own) {
        OpenFailure failure = OpenFailure::None;
        auto reader = session_.disk.OpenDrive(row, retries, nullptr, &failure, RightsQuestion::NotNow);
        if (failure == OpenFailure::None) {
            SnapshotDiskCheck check = CheckSnapshotDisk(*reader, state);
            if (check.fits) return SnapshotDriveFit{row, std::move(reader), std::move(check)};
        }
    }
    auto fits = FindSnapshotDisk(session_.disk, state, retries, own);
    if (fits.size() == 1) {
        view_.ShowMessage(MessageKind::Information, SnapshotDiskFoundText(fits[0].row, rows[fits[0].row].path));
        return std::move(fits[0]);
    }
    return PickDiskOfSnapshot(state, fits.empty() ? own : std::optional<size_t>(fits[0].row), fits.size() > 1);
}

std::optional<SnapshotDriveFit> WizardController::PickDiskOfSnapshot(const SnapshotState& state,
                                                                     std::optional<size_t> preselected, bool several) {
    const auto& rows = session_.disk.driveTable().rows;
    if (rows.empty()) return std::nullopt;
    std::vector<std::string> labels;
    for (size_t row = 0; row < rows.size(); ++row) labels.push_back(DriveLabel(row) + " (" + rows[row].path + ")");
    const auto picked = view_.AskSnapshotDrive(several ? kSnapshotDiskSeveralText : kSnapshotDiskNotFoundText, labels,
                                               preselected.value_or(0));
    if (!picked || *picked >= rows.size()) return std::nullopt;
    // The user chose this disk: its rights may be asked for.
    bool refused = false;
    auto reader = OpenDriveRow(*picked, refused);
    if (refused) return std::nullopt;
    SnapshotDiskCheck check = CheckSnapshotDisk(*reader, state);
    if (!check.fits) {
        view_.ShowMessage(MessageKind::Error, SnapshotOtherDiskText(*picked, rows[*picked].path));
        return std::nullopt;
    }
    return SnapshotDriveFit{*picked, std::move(reader), std::move(check)};
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
    SetQuickHelp(session_.treePartial ? QuickHelp::BrowsePartial : QuickHelp::Browse);
}

}  // namespace lumbra
