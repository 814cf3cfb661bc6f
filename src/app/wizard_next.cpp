// Next: the work of each step when the user moves on.
#include "app/option_groups.h"
#include "app/wizard_controller.h"
#include "discovery/pool_listing.h"
#include "discovery/scan_range.h"
#include "discovery/volume_discovery.h"

namespace lumbra {

void WizardController::OnNext() {
    WizardState& wizard = session_.wizard;
    if (wizard.busy()) return;
    view_.SetListGridAndFullRowSelect();
    wizard.workerBusy = 0;
    session_.filters.clear();
    view_.Disable(Element::NextButton);
    view_.Hide(Element::NextButton);
    view_.SetListViewMode(ListViewMode::Details);
    switch (wizard.currentStep()) {
        case WizardStep::StepDisks: NextFromDisks(); break;
        case WizardStep::StepPools: NextFromPools(); break;
        case WizardStep::StepVolumes: NextFromVolumes(); break;
        default: break;
    }
}

std::unique_ptr<SectorReader> WizardController::OpenDriveRow(size_t row, bool& refused) {
    OpenFailure failure = OpenFailure::None;
    ReadingDisk(row);
    auto reader = session_.disk.OpenDrive(row, session_.settings.badSectorRetries, nullptr, &failure);
    refused = failure == OpenFailure::RightsNotGiven || failure == OpenFailure::NoWayToAsk;
    if (refused) ShowRightsNotGiven(row, failure);
    return reader;
}

// From here on no output of the session may lie on a file system of this drive.
void WizardController::ReadingDisk(size_t row) {
    const auto& rows = session_.disk.driveTable().rows;
    if (row < rows.size()) session_.inputs.readDisk(rows[row].path, session_.sysRoot);
}

void WizardController::ShowRightsNotGiven(size_t row, OpenFailure failure) {
    if (failure == OpenFailure::NoWayToAsk)
        view_.ShowMessage(MessageKind::Error, std::string(wizard_text::kNoWayToAskBefore) + DriveLabel(row) +
                                                  std::string(wizard_text::kNoWayToAskAfter));
    else
        view_.ShowMessage(MessageKind::Error, std::string(wizard_text::kRightsNotGivenBefore) + DriveLabel(row) +
                                                  std::string(wizard_text::kRightsNotGivenAfter));
}

bool WizardController::OpenSelectedDrive() {
    bool refused = false;
    session_.reader = OpenDriveRow(session_.wizard.selectedDrive, refused);
    return !refused;
}

void WizardController::NextFromDisks() {
    WizardState& wizard = session_.wizard;
    std::optional<ScanRange> range;
    if (wizard.identifyOption != kUsePartitionTable) {
        const ScanRangeCheck check = ValidateScanRange(view_.Text(Element::StartField), view_.Text(Element::EndField));
        if (!check.range) {
            view_.ShowMessage(MessageKind::Error, check.error);
            ShowNext();
            return;
        }
        range = check.range;
        wizard.startSector = range->startSector;
        wizard.endSector = range->endSector;
    }
    const size_t row = wizard.selectedDrive;
    const uint16_t retries = session_.settings.badSectorRetries;
    OpenFailure failure = OpenFailure::None;
    ReadingDisk(row);
    auto reader = session_.disk.OpenDrive(row, retries, nullptr, &failure, RightsQuestion::NotNow);
    if (failure == OpenFailure::RightsNeeded) return StartOpeningWithRights(row, retries, range);
    if (auto scan = GoOnFromDisks(std::move(reader), failure, range)) StartScan(std::move(*scan));
}

std::optional<ResumableScanRequest> WizardController::GoOnFromDisks(std::unique_ptr<SectorReader> reader,
                                                                    OpenFailure failure,
                                                                    const std::optional<ScanRange>& range) {
    WizardState& wizard = session_.wizard;
    if (failure == OpenFailure::RightsNotGiven || failure == OpenFailure::NoWayToAsk) {
        ShowRightsNotGiven(wizard.selectedDrive, failure);
        ShowNext();
        return std::nullopt;
    }
    session_.reader = std::move(reader);
    if (!range) {
        ListPoolsFromPartitionTable(*session_.reader, session_.pools);
        if (session_.pools.empty()) {
            view_.ShowMessage(MessageKind::Information, wizard_text::kNoPoolFound);
            return std::nullopt;
        }
        const uint32_t root = CreateStepTree(TreeKind::Pools);
        for (uint32_t row = 0; row < session_.pools.count(); ++row)
            session_.pools[row].treeItem = view_.AddTreeItem(TreeKind::Pools, root, session_.pools[row].name);
        view_.ExpandTreeItem(TreeKind::Pools, root);
        view_.Show(Element::PoolTree);
        view_.Enable(Element::PoolTree);
        LeaveDiskStep();
        ApplyMenu(MenuMode::Choosing);
        ApplyLayout(InfoLayout::PoolInfo);
        SetQuickHelp(QuickHelp::SelectPool);
        wizard.setStep(WizardStep::StepPools);
        return std::nullopt;
    }
    ResumableScanRequest request{*range, session_.settings.sectorsPerRead, SelectedDriveIdentity()};
    request.resumeFrom = AskToResumeScan(request.driveIdentity, request.range);
    LeaveDiskStep();
    ApplyMenu(MenuMode::Choosing);
    ApplyLayout(InfoLayout::ScanProgress);
    SetQuickHelp(QuickHelp::SearchingPools);
    CreateStepTree(TreeKind::Pools);
    view_.Show(Element::PoolTree);
    return request;
}

void WizardController::LeaveDiskStep() {
    view_.Hide(Element::DriveTree);
    view_.Disable(Element::DriveTree);
    list_.deleteAllRows();
    HideIdentifyGroup(view_);
    view_.Show(Element::BackButton);
    view_.Enable(Element::BackButton);
    if (session_.wizard.identifyOption != kSearchPartition) return;
    for (Element button : {Element::NextButton, Element::BackButton}) {
        view_.Disable(button);
        view_.Hide(button);
    }
    view_.Show(Element::StopButton);
    view_.Enable(Element::StopButton);
    view_.SetProgress(0);
    view_.Show(Element::ProgressBar);
    view_.SetText(Element::ProgressEstimate, "");
    view_.Show(Element::ProgressEstimate);
}

void WizardController::NextFromPools() {
    WizardState& wizard = session_.wizard;
    ModeOfRecoveryValues mode{std::string(mode_of_recovery_text::kTitle),
                              std::string(mode_of_recovery_text::kExplanation), true, false};
    if (!view_.RunModeOfRecoveryDialog(mode)) return;
    wizard.recoveryMode = mode.volumeBasedChecked ? 1 : 2;

    view_.Hide(Element::PoolTree);
    view_.Disable(Element::PoolTree);
    const uint32_t root = CreateStepTree(TreeKind::Volumes);
    session_.volumes.clear();
    if (auto pool = lumbra::SelectPool(session_.pools, wizard.selectedPool)) {
        session_.selectedPool = std::move(*pool);
        if (!session_.reader) OpenSelectedDrive();
        const MemoryFailure memory =
            DiscoverVolumes(*session_.reader, session_.selectedPool, static_cast<RecoveryMode>(wizard.recoveryMode),
                            session_.objectTree, session_.volumes, session_.blockQueue);
        if (memory != MemoryFailure::None) return EndForMemory(memory);
    }
    if (session_.volumes.empty()) {
        view_.ShowMessage(MessageKind::Information, wizard_text::kNoVolumesFound);
        view_.Hide(Element::VolumeTree);
        view_.Disable(Element::VolumeTree);
        view_.Show(Element::PoolTree);
        view_.Enable(Element::PoolTree);
        return;
    }
    for (uint32_t row = 0; row < session_.volumes.count(); ++row)
        session_.volumes[row].treeItem = view_.AddTreeItem(TreeKind::Volumes, root, session_.volumes[row].name);
    view_.ExpandTreeItem(TreeKind::Volumes, root);
    view_.Show(Element::VolumeTree);
    view_.Enable(Element::VolumeTree);
    ApplyLayout(InfoLayout::VolumeInfo);
    wizard.setStep(WizardStep::StepVolumes);
}

void WizardController::NextFromVolumes() {
    view_.Hide(Element::VolumeTree);
    view_.Disable(Element::VolumeTree);
    CreateStepTree(TreeKind::Directory);
    view_.Show(Element::DirectoryTree);
    view_.Disable(Element::DirectoryTree);
    StartMount();
}

}  // namespace lumbra
