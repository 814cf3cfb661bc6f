// The browse step's list and tree: opening rows, the right-click menu, renaming, properties.
#include <cctype>
#include <cstdlib>
#include <unordered_set>
#include <vector>

#include "app/item_properties.h"
#include "app/recovery_message.h"
#include "app/wizard_controller.h"
#include "disk/sector.h"
#include "recovery/destination_files.h"
#include "recovery/file_copy.h"
#include "recovery/folder_path.h"
#include "recovery/recovery_run.h"

namespace lumbra {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// "Folder" or "Deleted Folder", letter case ignored: the rows renamed in the tree too and
// offered no program chooser.
bool IsFolderRowType(std::string_view type) {
    return EqualsIgnoringCase(type, "Folder") || EqualsIgnoringCase(type, "Deleted Folder");
}

uint64_t RowKey(const ItemRow& row) { return std::strtoull(row.key.c_str(), nullptr, 10); }

// The copies of opened files are for this user alone.
constexpr unsigned kOpenedCopyMode = 0600;

std::string DamagedOpenQuestion(const std::string& name, const std::string& condition) {
    return MarkupLiteral(name) + " is " + condition + "; the unreadable parts are zeros in the copy.\r\nOpen it anyway ?";
}

std::string NothingOpensText(const std::string& path) {
    return "No program could open " + HostPathMarkup(path) + ".";
}

}  // namespace

void WizardController::OnListFocused() { session_.wizard.treeHasFocus = 0; }

void WizardController::OnTreeFocused() { session_.wizard.treeHasFocus = 1; }

void WizardController::OnListRightClick() {
    session_.wizard.treeHasFocus = 0;
    ShowListMenu();
}

void WizardController::ShowListMenu() {
    const WizardState& wizard = session_.wizard;
    if (wizard.treeHasFocus != 0 || wizard.currentStep() != WizardStep::StepBrowse || wizard.busy()) return;
    const std::optional<ItemRow> row = list_.row(view_.ListSelectionMark());
    if (!row) return;
    view_.ShowListMenu(!IsFolderRowType(row->type));
}

void WizardController::OnListDoubleClick() {
    session_.wizard.treeHasFocus = 0;
    openWithFlag_ = 0;
    OpenSelected();
}

void WizardController::OpenSelected() {
    session_.savingFlags.ClearStops();
    if (session_.wizard.currentStep() != WizardStep::StepBrowse || session_.wizard.busy()) return;
    if (session_.wizard.treeHasFocus == 1) {
        if (const uint32_t item = view_.SelectedTreeItem(TreeKind::Directory)) ShowFolderOfItem(item);
        return;
    }
    const std::optional<ItemRow> row = list_.row(view_.ListSelectionMark());
    if (!row) return;
    if (IsFolderType(row->type.substr(0, 100))) {
        ShowFolderOfItem(static_cast<uint32_t>(RowKey(*row)));
        return;
    }
    const ItemRecord* record = session_.records.FindFileByItemNumber(RowKey(*row));
    if (!record || !session_.reader) return;
    PosixDestinationFiles files(&session_.inputs, kOpenedCopyMode);
    const std::vector<std::string> noFilters;
    CopyContext context{*session_.reader, session_.selectedPool, files, session_.savingFlags, noFilters,
                        session_.settings.duplicateAction, nullptr, {}};
    std::string name = record->name;
    const CopyResult copy =
        CopyRecoveredFile(context, desktop_.TemporaryFolder(), name, record->firstBlock, record->size, CopyMode::Open,
                          true, record->fullName);
    if (!copy.copied()) return;
    // The copy has read every sector of the file: its condition is known now.
    const FileCondition condition = ConditionOfFile(*session_.reader, session_.selectedPool, *record, true);
    if (condition.kind == ConditionKind::Damaged &&
        view_.AskYesNo(MessageKind::Question, DamagedOpenQuestion(name, ConditionSummary(condition))) != Answer::Yes)
        return;
    if (openWithFlag_ == 1) {
        if (!desktop_.OpenWithProgramChooser(copy.path)) view_.ShowMessage(MessageKind::Error, NothingOpensText(copy.path));
        return;
    }
    OpenFile(copy.path);
}

void WizardController::OpenFile(const std::string& path) {
    const ShellOpenResult opened = desktop_.OpenWithDesktop(path, ShowWindowAs::Normal);
    const bool started = opened == ShellOpenResult::Opened ||
                         (opened == ShellOpenResult::NoAssociation && desktop_.OpenWithProgramChooser(path));
    if (!started) view_.ShowMessage(MessageKind::Error, NothingOpensText(path));
}

std::optional<FileCondition> WizardController::ConditionOfRow(const ItemRow& row) const {
    if (row.kind != ItemRow::Kind::File || !session_.reader) return std::nullopt;
    const ItemRecord* record = session_.records.FindFileByItemNumber(RowKey(row));
    if (!record) return std::nullopt;
    return ConditionOfFile(*session_.reader, session_.selectedPool, *record,
                           session_.filesRead.count(record->itemNumber) != 0);
}

bool WizardController::DamageIsKnown() const {
    return session_.reader && session_.reader->damageMap() && !session_.reader->damageMap()->empty();
}

// Each folder is walked once, so looping parent links end; an empty damage map ends at once.
bool WizardController::FolderHoldsDamage(const ItemRow& row) const {
    if (!DamageIsKnown()) return false;
    const ItemRecord* top = session_.records.FindFolderByTreeItem(static_cast<uint32_t>(RowKey(row)));
    if (!top) return false;
    std::vector<uint64_t> pending{top->objectId};
    std::unordered_set<uint64_t> visited;
    while (!pending.empty()) {
        const uint64_t folder = pending.back();
        pending.pop_back();
        if (!visited.insert(folder).second) continue;
        for (uint32_t index : session_.records.FileChildren(folder)) {
            const ItemRecord& file = session_.records.files()[index];
            const FileCondition condition = ConditionOfFile(*session_.reader, session_.selectedPool, file,
                                                            session_.filesRead.count(file.itemNumber) != 0);
            if (condition.kind == ConditionKind::Damaged) return true;
        }
        for (uint32_t index : session_.records.FolderChildren(folder))
            pending.push_back(session_.records.folders()[index].objectId);
    }
    return false;
}

// From each damaged file up its parent chain; a folder met again ends the climb, so looping
// parent links end too.
std::unordered_set<uint64_t> WizardController::FoldersHoldingDamage() const {
    std::unordered_set<uint64_t> folders;
    if (!DamageIsKnown()) return folders;
    for (const ItemRecord& file : session_.records.files()) {
        const FileCondition condition = ConditionOfFile(*session_.reader, session_.selectedPool, file,
                                                        session_.filesRead.count(file.itemNumber) != 0);
        if (condition.kind != ConditionKind::Damaged) continue;
        const ItemRecord* folder = session_.records.FindFolderByObjectId(file.parentId);
        while (folder && folders.insert(folder->objectId).second)
            folder = session_.records.FindFolderByObjectId(folder->parentId);
    }
    return folders;
}

void WizardController::ShowProperties() {
    const std::optional<ItemRow> row = list_.row(view_.ListSelectionMark());
    if (!row) return;
    const auto condition = ConditionOfRow(*row);
    std::optional<FilePlace> place;
    if (condition) {
        const ItemRecord* record = session_.records.FindFileByItemNumber(RowKey(*row));
        const FileLayout layout = LayFileOut(session_.selectedPool, session_.reader->sectorCount(), record->firstBlock, record->size);
        place = FilePlace{std::nullopt, condition->unreadableRanges};
        if (!layout.runs.empty()) place->firstSector = layout.runs.front().diskOffset / kSectorSize;
    }
    view_.ShowProperties(ItemProperties(*row, session_.records, condition ? ConditionSummary(*condition) : "", place));
}

// ---------------------------------------------------------------- rename

bool WizardController::OnListEditStarting(int row) {
    if (session_.wizard.treeHasFocus == 1) return false;
    const std::optional<ItemRow> target = list_.row(row);
    if (!target) return false;
    renameOriginal_ = target->name.substr(0, kMaxItemNameLength);
    renameRow_ = row;
    session_.wizard.labelEditing = 1;
    return true;
}

void WizardController::BeginRename() {
    const int mark = view_.ListSelectionMark();
    if (!OnListEditStarting(mark)) return;
    view_.BeginListLabelEdit(mark, kMaxItemNameLength);
}

void WizardController::EndRename(const std::optional<std::string>& editedText) {
    session_.wizard.labelEditing = 0;
    const std::optional<ItemRow> row = list_.row(renameRow_);
    if (!row) return;
    // An empty or cancelled edit, or one longer than a record holds, keeps the old name.
    const bool usable = editedText && !editedText->empty() && editedText->size() <= kMaxItemNameLength &&
                        session_.wizard.currentStep() == WizardStep::StepBrowse;
    const std::string name = usable ? *editedText : renameOriginal_;
    const uint64_t key = RowKey(*row);
    const bool folder = IsFolderRowType(row->type);
    list_.setRowName(renameRow_, name);
    renameRow_ = -1;
    if (folder) {
        view_.SetTreeItemText(TreeKind::Directory, static_cast<uint32_t>(key), name);
        const auto& folders = session_.records.folders();
        for (size_t index = 0; index < folders.size(); ++index)
            if (key != 0 && folders[index].treeItem == key) return session_.records.RenameFolder(index, name);
        return;
    }
    const auto& files = session_.records.files();
    for (size_t index = 0; index < files.size(); ++index)
        if (files[index].itemNumber == key) return session_.records.RenameFile(index, name);
}

// ---------------------------------------------------------------- a file shown in its folder

bool WizardController::ShowFileInList(uint64_t itemNumber) {
    if (session_.wizard.currentStep() != WizardStep::StepBrowse || session_.wizard.busy()) return false;
    const ItemRecord* file = session_.records.FindFileByItemNumber(itemNumber);
    if (!file) return false;
    const ItemRecord* folder = session_.records.FindFolderByObjectId(file->parentId);
    const uint32_t item = folder && folder->treeItem != 0 ? folder->treeItem : view_.TreeRoot(TreeKind::Directory);
    session_.savingFlags.ClearStops();
    openWithFlag_ = 0;
    ShowFolderOfItem(item);
    const std::string key = std::to_string(itemNumber);
    for (int index = 0; const std::optional<ItemRow> row = list_.row(index); ++index) {
        if (row->kind != ItemRow::Kind::File || row->key != key) continue;
        view_.SelectListRow(index);
        session_.wizard.treeHasFocus = 0;
        return true;
    }
    return false;
}

const ItemRecord* WizardController::MarkedFile() const {
    const std::optional<ItemRow> row = list_.row(view_.ListSelectionMark());
    if (!row || row->kind != ItemRow::Kind::File) return nullptr;
    return session_.records.FindFileByItemNumber(RowKey(*row));
}

SaveSelection WizardController::BrowseSelection() const {
    if (session_.wizard.currentStep() != WizardStep::StepBrowse) return {};
    return SelectionOfRows(view_.SelectedListRows());
}

}  // namespace lumbra
