#include "app/wizard_controller.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "app/option_groups.h"
#include "app/recovery_message.h"
#include "platform/application_directory.h"
#include "recovery/folder_browse.h"

namespace lumbra {

namespace {

bool OnItemItself(TreeHitPart part) {
    return part == TreeHitPart::Label || part == TreeHitPart::Icon || part == TreeHitPart::RightOfLabel;
}

// The row number that follows "Storage Device" in a drive item's text.
std::optional<uint16_t> DriveRowOfLabel(std::string_view text) {
    const size_t prefix = wizard_text::kDriveLabelPrefix.size();
    if (text.size() <= prefix) return std::nullopt;
    uint16_t row = 0;
    const char* first = text.data() + prefix;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, row);
    if (error != std::errc() || end != last) return std::nullopt;
    return row;
}

// The desktop's wording of an image that gets no drive row; paths show as literal text.
std::string ImageNotOpenedText(const std::string& path, const std::string& reason) {
    return "The disk image " + MarkupLiteral(path) + " cannot be opened: " + MarkupLiteral(reason) + ".";
}

std::string ImageNotAddedText(const std::string& path) { return "The disk image " + MarkupLiteral(path) + " cannot be added"; }

}  // namespace

WizardController::WizardController(Session& session, View& view, Desktop& desktop)
    : session_(session), view_(view), desktop_(desktop), directoryTree_(view), list_(view, desktop) {
    list_.setDamageTest([this](const ItemRow& row) {
        if (row.kind == ItemRow::Kind::Folder) return FolderHoldsDamage(row);
        const auto condition = ConditionOfRow(row);
        return condition && condition->kind == ConditionKind::Damaged;
    });
}

WizardController::~WizardController() {
    if (worker_.joinable()) {
        session_.wizard.stopRequested = 1;
        worker_.join();
    }
}

bool WizardController::StartUp(const DriveSources& sources, const std::string& libraryFolder) {
    WizardState& wizard = session_.wizard;
    session_.applicationDirectory = ApplicationDirectoryFrom(desktop_.CurrentDirectory());
    session_.programDirectory = libraryFolder;

    wizard.setStep(WizardStep::StepStartup);
    const uint32_t root = CreateStepTree(TreeKind::Drives);
    driveTreeRoot_ = root;
    view_.Show(Element::DriveTree);
    view_.Enable(Element::DriveTree);
    wizard.setStep(WizardStep::StepDisks);
    if (auto fatal = session_.disk.EnumerateDrives(sources, libraryFolder)) {
        view_.ShowMessage(MessageKind::Error, *fatal);
        desktop_.EndProcess(0);
        return false;
    }
    for (const ImageProblem& problem : session_.disk.imageProblems())
        view_.ShowMessage(MessageKind::Error, ImageNotOpenedText(problem.path, problem.reason));
    for (const DriveEntry& row : session_.disk.driveTable().rows) session_.inputs.add(row.path);
    for (const std::string& map : sources.rescueMapFiles) session_.inputs.add(map);
    for (size_t row = 0; row < session_.disk.driveTable().count(); ++row)
        view_.AddTreeItem(TreeKind::Drives, root, DriveLabel(row));
    view_.ExpandTreeItem(TreeKind::Drives, root);

    ApplyMenu(MenuMode::Start);
    HideRangeGroup(view_);
    ShowIdentifyGroup(view_);
    ApplyLayout(InfoLayout::DiskInfo);
    SetQuickHelp(QuickHelp::SelectDisk);

    view_.SetChecked(Element::UsePartitionTable, true);
    view_.SetChecked(Element::SearchPartition, false);
    wizard.identifyOption = kUsePartitionTable;
    view_.Hide(Element::ProgressBar);
    view_.Hide(Element::FileList);
    for (Element button : {Element::BackButton, Element::NextButton, Element::StopButton}) {
        view_.Disable(button);
        view_.Hide(button);
    }
    session_.settings.SetDefaults(session_.disk.accessMode());
    return true;
}

void WizardController::OnImageDropped(const std::string& path) {
    if (session_.wizard.currentStep() != WizardStep::StepDisks || session_.wizard.busy()) return;
    if (session_.disk.accessMode() == AccessMode::F) {
        view_.ShowMessage(MessageKind::Error, ImageNotAddedText(path) + std::string(wizard_text::kImagesInModeNOnly));
        return;
    }
    std::string why;
    const std::optional<size_t> row = session_.disk.addImageRow(path, &why);
    if (!row) {
        view_.ShowMessage(MessageKind::Error, why.empty() ? ImageNotAddedText(path) + std::string(wizard_text::kDriveListFull)
                                                         : ImageNotOpenedText(path, why));
        return;
    }
    session_.inputs.add(path);
    view_.AddTreeItem(TreeKind::Drives, driveTreeRoot_, DriveLabel(*row));
}

// ---------------------------------------------------------------- left tree and options

void WizardController::OnLeftTreeClick(uint32_t item, TreeHitPart part) {
    WizardState& wizard = session_.wizard;
    wizard.treeHasFocus = 1;
    if (wizard.busy()) return;
    const WizardStep step = wizard.currentStep();
    const TreeKind kind = step == WizardStep::StepDisks     ? TreeKind::Drives
                          : step == WizardStep::StepPools   ? TreeKind::Pools
                          : step == WizardStep::StepVolumes ? TreeKind::Volumes
                                                            : TreeKind::Directory;
    if (item == 0) {
        item = view_.TreeRoot(kind);
        view_.SelectTreeItem(kind, item);
    }
    switch (step) {
        case WizardStep::StepDisks:
            if (OnItemItself(part) || part == TreeHitPart::Nowhere) SelectDrive(item);
            break;
        case WizardStep::StepPools: SelectPool(item); break;
        case WizardStep::StepVolumes:
            if (OnItemItself(part)) SelectVolume(item);
            break;
        case WizardStep::StepBrowse:
            if (OnItemItself(part)) {
                session_.savingFlags.ClearStops();
                openWithFlag_ = 0;
                list_.deleteAllRows();
                view_.SelectTreeItem(TreeKind::Directory, item);
                ShowFolderOfItem(item);
            }
            break;
        case WizardStep::StepStartup: break;
    }
}

void WizardController::SelectDrive(uint32_t item) {
    const std::string text = view_.TreeItemText(TreeKind::Drives, item);
    if (text.empty() || text == wizard_text::kDriveRoot) return;
    const auto row = DriveRowOfLabel(text);
    const DriveTable& drives = session_.disk.driveTable();
    if (!row || *row >= drives.count()) return;
    view_.SelectTreeItem(TreeKind::Drives, item);
    session_.wizard.selectedDrive = *row;
    FillRangeFields();
    const DriveEntry& drive = drives.rows[*row];
    view_.SetText(InfoValue(1), drive.model);
    view_.SetText(InfoValue(2), std::to_string(drive.sizeInSectors() / 2048) + std::string(info_text::kCapacitySuffix));
    view_.SetText(InfoValue(3), std::to_string(drive.cylinders));
    view_.SetText(InfoValue(4), std::to_string(drive.heads));
    view_.SetText(InfoValue(5), std::to_string(drive.sectorsPerTrack));
    ShowNext();
}

void WizardController::SelectPool(uint32_t item) {
    const std::string text = view_.TreeItemText(TreeKind::Pools, item);
    if (text.empty() || text == wizard_text::kPoolRoot) return;
    const PoolTable& pools = session_.pools;
    for (uint32_t row = 0; row < pools.count(); ++row) {
        if (pools[row].treeItem != item) continue;
        view_.SelectTreeItem(TreeKind::Pools, item);
        session_.wizard.selectedPool = static_cast<uint16_t>(row);
        const auto& captions = InfoLayoutCaptions(InfoLayout::PoolInfo);
        for (int line = 1; line <= 4; ++line) view_.SetText(InfoCaption(line), captions[line - 1]);
        view_.SetText(InfoValue(1), info_text::kNovellVolume);
        view_.SetText(InfoValue(2), pools[row].name);
        view_.SetText(InfoValue(3), std::to_string(pools[row].poolSize));
        view_.SetText(InfoValue(4), std::to_string(pools[row].segmentCount));
        ShowNext();
        return;
    }
}

void WizardController::SelectVolume(uint32_t item) {
    const std::string text = view_.TreeItemText(TreeKind::Volumes, item);
    if (text.empty() || text == wizard_text::kVolumeRoot) return;
    const VolumeTable& volumes = session_.volumes;
    for (uint32_t row = 0; row < volumes.count(); ++row) {
        if (volumes[row].treeItem != item) continue;
        view_.SelectTreeItem(TreeKind::Volumes, item);
        session_.wizard.selectedVolume = row;
        view_.SetText(InfoValue(1), info_text::kNovellVolume);
        view_.SetText(InfoValue(2), session_.selectedPool.name);
        view_.SetText(InfoValue(3), volumes[row].name);
        view_.SetText(InfoValue(4), RecoveryBasisText(session_.wizard.recoveryMode));
        ShowNext();
        return;
    }
}

void WizardController::OnIdentifyOption(uint16_t option) {
    if (session_.wizard.currentStep() != WizardStep::StepDisks || session_.wizard.busy()) return;
    if (option == kSearchPartition) {
        session_.wizard.identifyOption = kSearchPartition;
        ShowRangeGroup(view_);
        FillRangeFields();
        // A scan can always go on from a chosen drive, also after the partition table found nothing.
        ShowNextForHighlightedDrive();
    } else {
        session_.wizard.identifyOption = kUsePartitionTable;
        HideRangeGroup(view_);
    }
}

void WizardController::FillRangeFields() {
    const DriveTable& drives = session_.disk.driveTable();
    const uint16_t row = session_.wizard.selectedDrive;
    view_.SetText(Element::StartField, "0");
    // The scan range is 32-bit; a larger disk is offered up to where a range can reach.
    const uint64_t sectors = row < drives.count() ? drives.rows[row].sizeInSectors() : 0;
    view_.SetText(Element::EndField, std::to_string(std::min<uint64_t>(sectors, UINT32_MAX)));
}

// ---------------------------------------------------------------- shared pieces

void WizardController::ApplyLayout(InfoLayout layout) {
    ApplyInfoLayout(view_, layout, session_.wizard.identifyOption, session_.wizard.endSector);
}

void WizardController::SetQuickHelp(QuickHelp id) { view_.SetQuickHelp(QuickHelpText(id)); }

void WizardController::ApplyMenu(MenuMode mode) { menu_.Apply(view_, mode, session_.wizard.currentStep()); }

void WizardController::ShowNext() {
    view_.Show(Element::NextButton);
    view_.Enable(Element::NextButton);
}

void WizardController::ShowNextForHighlightedDrive() {
    const auto drive = DriveRowOfLabel(view_.TreeItemText(TreeKind::Drives, view_.SelectedTreeItem(TreeKind::Drives)));
    if (drive && *drive < session_.disk.driveTable().count()) ShowNext();
}

std::string WizardController::VolumeName(uint32_t row) const {
    return row < session_.volumes.count() ? session_.volumes[row].name : std::string();
}

// The root text follows the step at the moment of creation.
uint32_t WizardController::CreateStepTree(TreeKind kind) {
    const WizardStep step = session_.wizard.currentStep();
    const std::string root = step == WizardStep::StepStartup ? std::string(wizard_text::kDriveRoot)
                             : step == WizardStep::StepDisks ? std::string(wizard_text::kPoolRoot)
                             : step == WizardStep::StepPools ? std::string(wizard_text::kVolumeRoot)
                                                             : VolumeName(session_.wizard.selectedVolume);
    return view_.CreateTree(kind, root);
}

void WizardController::ShowFolderOfItem(uint32_t item) {
    ShowFolder(session_.records, directoryTree_, list_, item, session_.filters.patterns());
}

}  // namespace lumbra
