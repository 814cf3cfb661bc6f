// The menu, toolbar and home-page commands.
#include <cstdlib>
#include <unordered_set>

#include "app/command_table.h"
#include "app/drive_information.h"
#include "app/file_filters_dialog.h"
#include "app/recovery_message.h"
#include "app/user_guide.h"
#include "app/wizard_controller.h"
#include "disk/device_sector_reader.h"
#include "disk/source_disk.h"
#include "recovery/destination_files.h"
#include "recovery/folder_browse.h"

namespace lumbra {

namespace {
constexpr std::string_view kHelpMissing = " Corvalt Lumbra Novell NSS.chm not found";
constexpr std::string_view kUpdater = "Lumbra Live Update.exe";
constexpr std::string_view kUpdaterMissing = "Live Update file not found. Please re-install the software.";
constexpr std::string_view kUpdaterQuestion =
    "The application will be closed if you want to run Live Update of the software. Continue ?";
constexpr std::string_view kUpdaterArgument = "<QVDXD>";
}  // namespace

void WizardController::OnCommand(Command command) {
    const CommandInfo* info = FindCommand(command);
    if (!info) return;
    const bool browsing = session_.wizard.currentStep() == WizardStep::StepBrowse && !session_.wizard.busy();
    if (info->fromListMenu ? !browsing : !menu_.enabled(command)) return;
    switch (info->action) {
        case CommandAction::RecoverSelected: RecoverSelected(); break;
        case CommandAction::RecoverAll: RecoverAll(); break;
        case CommandAction::SaveSnapshot: SaveSnapshot(); break;
        case CommandAction::LoadSnapshot: LoadSnapshot(); break;
        case CommandAction::Exit: OnExitCommand(); break;
        case CommandAction::IconsView: SetListView(ListViewMode::Icons); break;
        case CommandAction::ListView: SetListView(ListViewMode::List); break;
        case CommandAction::DetailsView: SetListView(ListViewMode::Details); break;
        case CommandAction::FindFiles:
            if (const auto found = view_.OpenFindWindow()) ShowFileInList(*found);
            break;
        case CommandAction::FileFilters: OpenFiltersDialog(); break;
        case CommandAction::Settings: OpenSettingsDialog(); break;
        case CommandAction::DriveInformation: ShowDriveInformation(); break;
        case CommandAction::DiskMap: view_.OpenDiskMap(); break;
        case CommandAction::LiveUpdate: RunLiveUpdate(); break;
        case CommandAction::Contents: OpenHelp(); break;
        case CommandAction::About: view_.ShowAbout(kAboutText); break;
        case CommandAction::Open:
            openWithFlag_ = 0;
            OpenSelected();
            break;
        case CommandAction::OpenWith:
            openWithFlag_ = 1;
            OpenSelected();
            break;
        case CommandAction::Rename: BeginRename(); break;
        case CommandAction::Properties: ShowProperties(); break;
        case CommandAction::ExportFileList: ExportFileList(); break;
        case CommandAction::SelectFromList: SelectFromList(); break;
    }
}

void WizardController::OnToolbarButton(int button) {
    const auto toolbar = ToolbarButtonAt(button);
    if (!toolbar) return;
    if (menu_.enabled(toolbar->command)) OnCommand(toolbar->command);
}

void WizardController::OnHomePageButton() { OpenHomePage(); }

void WizardController::SetListView(ListViewMode mode) { view_.SetListViewMode(mode); }

void WizardController::OpenSettingsDialog() {
    SettingsDialogValues values = SettingsDialogOpening(session_.settings);
    if (!view_.RunSettingsDialog(values)) return;
    ApplySettingsDialog(values, session_.settings);
    // The retry count takes effect at the next sector read.
    if (auto* reader = dynamic_cast<DeviceSectorReader*>(session_.reader.get()))
        reader->setBadSectorRetries(session_.settings.badSectorRetries);
}

void WizardController::OpenFiltersDialog() {
    FileFiltersDialog dialog(session_.filters, view_);
    view_.RunFileFiltersDialog(dialog);
    session_.filters.assign(dialog.rows());
    const uint32_t root = view_.TreeRoot(TreeKind::Directory);
    view_.Focus(Element::DirectoryTree);
    view_.SelectTreeItem(TreeKind::Directory, root);
    session_.wizard.treeHasFocus = 1;
    FillItemList(session_.records, list_, 0, session_.filters.patterns());
}

void WizardController::ShowDriveInformation() { view_.ShowDriveInformation(DriveInformation(session_)); }

void WizardController::RecoverSelected() {
    const SaveSelection selection = SelectionOfRows(view_.SelectedListRows());
    if (selection.folderIndexes.empty() && selection.fileIndexes.empty()) return;
    SaveToChosenFolder(selection);
}

SaveSelection WizardController::SelectionOfRows(const std::vector<int>& rows) const {
    std::unordered_set<uint64_t> folderItems;
    std::unordered_set<uint64_t> fileNumbers;
    for (int index : rows) {
        const std::optional<ItemRow> row = list_.row(index);
        if (!row) continue;
        const uint64_t key = std::strtoull(row->key.c_str(), nullptr, 10);
        (row->kind == ItemRow::Kind::Folder ? folderItems : fileNumbers).insert(key);
    }
    SaveSelection selection;
    const auto& folders = session_.records.folders();
    for (size_t index = 0; index < folders.size(); ++index)
        if (folders[index].treeItem != 0 && folderItems.count(folders[index].treeItem)) selection.folderIndexes.push_back(index);
    const auto& files = session_.records.files();
    for (size_t index = 0; index < files.size(); ++index)
        if (fileNumbers.count(files[index].itemNumber)) selection.fileIndexes.push_back(index);
    return selection;
}

void WizardController::RecoverAll() {
    SaveSelection selection;
    selection.everything = true;
    SaveToChosenFolder(selection);
}

void WizardController::SaveToChosenFolder(const SaveSelection& selection) {
    const auto& rows = session_.disk.driveTable().rows;
    const size_t row = session_.wizard.selectedDrive;
    const std::string source = row < rows.size() ? rows[row].path : std::string();
    while (const auto folder = view_.AskDestinationFolder()) {
        if (FolderOnSource(*folder, source, session_.sysRoot)) {
            view_.ShowMessage(MessageKind::Error, kDestinationOnSourceText);
            continue;
        }
        // One message with the reason, rather than one question for every file of the run.
        PosixDestinationFiles files(&session_.inputs);
        if (const auto problem = DestinationWriteProblem(files, *folder)) {
            view_.ShowMessage(MessageKind::Error, DestinationNotWritableText(*folder, *problem));
            continue;
        }
        session_.savingFlags.ClearStops();
        view_.RunSaving(selection, *folder);
        return;
    }
}

void WizardController::OpenHelp() {
    const std::string path = UserGuidePath(session_.programDirectory);
    if (!desktop_.FileExists(path)) {
        view_.ShowMessage(MessageKind::Error, kHelpMissing);
        return;
    }
    if (desktop_.OpenWithDesktop(path, ShowWindowAs::Normal) != ShellOpenResult::Opened)
        view_.ShowMessage(MessageKind::Error, "No program on this system opens the user guide, a web page. Open it in a web browser:\r\n" + MarkupLiteral(path));
}

void WizardController::OpenHomePage() { desktop_.OpenWithDesktop(std::string(kHomePage), ShowWindowAs::Maximised); }

void WizardController::RunLiveUpdate() {
    const std::string updater = session_.applicationDirectory + std::string(kUpdater);
    if (!desktop_.FileExists(updater)) {
        view_.ShowMessage(MessageKind::Error, kUpdaterMissing);
        return;
    }
    if (view_.AskYesNo(MessageKind::Question, kUpdaterQuestion) != Answer::Yes) return;
    // Ending the program when the updater did not start would lose the session for nothing.
    if (!desktop_.StartProgram(updater, {std::string(kUpdaterArgument)})) {
        view_.ShowMessage(MessageKind::Error, kUpdaterMissing);
        return;
    }
    if (!session_.wizard.busy()) session_.records.ClearRecords();
    desktop_.EndProcess(0);
}

}  // namespace lumbra
