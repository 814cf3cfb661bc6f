#pragma once
// A View that records what the wizard does to it: the state of every named element, the
// trees, the file list, the menu, the messages, and a log of the calls in order. Dialogs and
// questions answer from scripts the test sets up. Safe to call from a worker thread.
#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/view.h"

namespace lumbra::test {

struct ElementState {
    bool visible = false;
    bool enabled = false;
    bool checked = false;
    std::string text;
};

struct FakeTreeItem {
    uint32_t parent = 0;
    std::string text;
    bool expanded = false;
    // Added in a batch with the damage mark.
    bool damaged = false;
    std::vector<uint32_t> children;
};

struct FakeTree {
    uint32_t root = 0;
    uint32_t selected = 0;
    int generation = 0;  // how many times the tree was created
    std::map<uint32_t, FakeTreeItem> items;
};

struct ShownMessage {
    MessageKind kind;
    std::string text;
    bool question;
};

std::string ElementName(Element element);

class FakeView : public View {
public:
    // ---- View
    void Show(Element element) override;
    void Hide(Element element) override;
    void Enable(Element element) override;
    void Disable(Element element) override;
    void SetText(Element element, std::string_view text) override;
    std::string Text(Element element) const override;
    void SetChecked(Element element, bool checked) override;
    void Focus(Element element) override;

    uint32_t CreateTree(TreeKind kind, std::string_view rootText) override;
    uint32_t AddTreeItem(TreeKind kind, uint32_t parent, std::string_view text) override;
    std::vector<uint32_t> AddTreeItems(TreeKind kind, uint32_t parent, const std::vector<TreeItemEntry>& entries) override;
    void ExpandTreeItem(TreeKind kind, uint32_t item) override;
    void SelectTreeItem(TreeKind kind, uint32_t item) override;
    void SetTreeItemText(TreeKind kind, uint32_t item, std::string_view text) override;
    std::string TreeItemText(TreeKind kind, uint32_t item) const override;
    uint32_t TreeItemParent(TreeKind kind, uint32_t item) const override;
    uint32_t TreeRoot(TreeKind kind) const override;
    uint32_t SelectedTreeItem(TreeKind kind) const override;

    void SetListColumns(const std::vector<ListColumn>& columns) override;
    void DeleteAllListRows() override;
    void AppendListRow(const ItemRow& row) override;
    void SetListRowName(int row, std::string_view name) override;
    std::optional<ItemRow> ListRow(int row) const override;
    void SetListViewMode(ListViewMode mode) override;
    void SetListGridAndFullRowSelect() override;
    int ListSelectionMark() const override;
    std::vector<int> SelectedListRows() const override;
    void SelectListRow(int row) override;
    void BeginListLabelEdit(int row, size_t maxLength) override;
    void ShowListMenu(bool openWithEnabled) override;

    void SetProgress(uint32_t percent) override;
    bool ReadyForProgress() const override { return readyForProgress.load(); }
    void SetQuickHelp(std::string_view text) override;
    void SetCommandEnabled(Command command, bool enabled) override;

    void ShowMessage(MessageKind kind, std::string_view text) override;
    Answer AskYesNo(MessageKind kind, std::string_view text) override;

    bool RunSettingsDialog(SettingsDialogValues& values) override;
    bool RunModeOfRecoveryDialog(ModeOfRecoveryValues& values) override;
    void RunFileFiltersDialog(FileFiltersDialog& dialog) override;
    void ShowProperties(const PropertiesValues& values) override;
    void ShowDriveInformation(const DriveInformationValues& values) override;
    void ShowAbout(std::string_view text) override;
    std::optional<std::string> AskSnapshotSaveName() override;
    std::optional<std::string> AskSnapshotLoadName() override;
    std::optional<size_t> AskSnapshotDrive(std::string_view text, const std::vector<std::string>& drives,
                                           size_t preselected) override;
    std::optional<uint64_t> OpenFindWindow() override;
    std::optional<std::string> AskDestinationFolder() override;
    void RunSaving(const SaveSelection& selection, const std::string& destination) override;
    std::optional<FileListExportChoice> AskFileListExport(bool selectionAvailable) override;
    std::optional<std::string> AskFileListToSelect() override;
    void SelectListRows(const std::vector<int>& rows) override;

    // ---- what the test reads (call when no worker runs, or after WaitForWorker)
    ElementState element(Element element) const;
    bool visible(Element e) const { return element(e).visible; }
    bool enabled(Element e) const { return element(e).enabled; }
    std::string text(Element e) const { return element(e).text; }
    // The calls logged so far, read under the view's lock while a worker may still call it.
    std::vector<std::string> logged() const;
    const FakeTree& tree(TreeKind kind) const;
    // Texts of the root's children, in order.
    std::vector<std::string> treeChildren(TreeKind kind, uint32_t item = 0) const;
    // The item of the tree whose text is `text`; 0 when none.
    uint32_t findTreeItem(TreeKind kind, std::string_view text) const;
    bool commandEnabled(Command command) const;
    bool commandSet(Command command) const { return commands_.count(command) != 0; }
    // The quick help shown last ("" before any); safe while a worker may set it.
    std::string lastQuickHelp() const;

    // ---- script
    std::deque<Answer> answers;                   // AskYesNo answers; No when empty
    std::function<bool(SettingsDialogValues&)> settingsDialog;
    std::function<bool(ModeOfRecoveryValues&)> modeDialog;
    std::function<void(FileFiltersDialog&)> filtersDialog;
    std::optional<std::string> saveName;
    std::optional<std::string> loadName;
    // The answer to the question which drive holds a snapshot's disk, and what was asked.
    std::optional<size_t> snapshotDrive;
    struct SnapshotDriveQuestion {
        std::string text;
        std::vector<std::string> drives;
        size_t preselected = 0;
    };
    std::vector<SnapshotDriveQuestion> snapshotDriveQuestions;
    int selectionMark = -1;
    std::vector<int> selectedRows;
    // What ReadyForProgress answers: a view as slow as the screen says no now and then.
    std::atomic<bool> readyForProgress{true};
    // Called (outside the view's lock) when a value is written, e.g. to press Stop mid-scan.
    std::function<void(Element, const std::string&)> onSetText;
    // Runs while a question is open, before it is answered.
    std::function<void()> whileAsking;

    // ---- records
    std::vector<std::string> log;
    std::vector<ShownMessage> messages;
    std::vector<std::string> quickHelp;
    std::vector<uint32_t> progress;
    std::vector<ListColumn> columns;
    std::vector<ItemRow> rows;
    ListViewMode viewMode = ListViewMode::Details;
    int gridAndFullRow = 0;
    Element focused = Element::DriveTree;
    std::vector<std::pair<int, size_t>> labelEdits;
    std::vector<bool> listMenus;                  // openWithEnabled of each menu shown
    std::vector<ModeOfRecoveryValues> modeDialogs;
    std::vector<SettingsDialogValues> settingsDialogs;
    std::vector<PropertiesValues> properties;
    std::vector<DriveInformationValues> driveInformation;
    std::vector<std::string> abouts;
    int saveNameAsked = 0;
    int loadNameAsked = 0;
    int findWindows = 0;
    std::optional<uint64_t> findAnswer;  // the file the Find window is left with by a double-click
    std::vector<SaveSelection> savings;
    std::vector<std::string> savingDestinations;
    // The answers of the destination dialog, in turn; nullopt (cancel) once they run out.
    std::vector<std::string> destinationAnswers;
    size_t destinationAsked = 0;
    // The answer of the file list dialogs; nullopt cancels. Whether a selection was offered.
    std::optional<FileListExportChoice> exportChoice;
    std::vector<bool> exportSelectionOffered;
    std::optional<std::string> listToSelect;

private:
    void note(const std::string& entry);
    FakeTree& treeOf(TreeKind kind);

    mutable std::recursive_mutex mutex_;
    std::map<Element, ElementState> elements_;
    std::map<TreeKind, FakeTree> trees_;
    std::map<Command, bool> commands_;
    uint32_t nextItem_ = 1;
};

}  // namespace lumbra::test
