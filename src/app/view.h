#pragma once
// Everything the wizard does to the screen, as operations on named view elements. The Qt main
// window implements it; tests use a recording fake. No toolkit type appears here.
//
// Threads: the wizard calls the View from the user-interface thread and, while a scan or a
// mount runs, also from that worker thread (its progress, then FinishScan or FinishMount).
// An implementation applies the calls of each thread in the order they were made, changes its
// widgets on its own GUI thread only (forwarding worker calls there, e.g. as blocking queued
// calls), and answers calls that return a value (a tree item id, a text) with the value as of
// the moment all earlier calls were applied. Because a worker may wait for the GUI thread,
// the GUI thread never waits for the worker: the wizard never joins a running worker on it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command.h"
#include "app/dialog_values.h"
#include "app/file_list_choice.h"
#include "app/view_element.h"
#include "recovery/browse_views.h"
#include "recovery/save_driver.h"

namespace lumbra {

class FileFiltersDialog;

// The icon of a message box.
enum class MessageKind : uint8_t { Information = 1, Error = 2, Question = 3, Warning = 4 };

enum class Answer : uint8_t { Yes = 1, No = 2 };

// The file list's view styles.
enum class ListViewMode : uint8_t { Icons, List, Details };

struct ListColumn {
    std::string header;
    int width = 0;
    bool rightAligned = false;
};

class View {
public:
    virtual ~View() = default;

    // ---- named elements
    virtual void Show(Element element) = 0;
    virtual void Hide(Element element) = 0;
    virtual void Enable(Element element) = 0;
    virtual void Disable(Element element) = 0;
    virtual void SetText(Element element, std::string_view text) = 0;
    // The text of an element as the user left it (the Start and End fields).
    virtual std::string Text(Element element) const = 0;
    // Checks or clears a radio button.
    virtual void SetChecked(Element element, bool checked) = 0;
    virtual void Focus(Element element) = 0;

    // ---- left-pane trees. Item ids are never 0; 0 means "no item".
    // Creates the tree of this kind anew (the earlier one of the kind goes) with one root item
    // and returns the root's id. The new tree is neither shown nor enabled by this call.
    virtual uint32_t CreateTree(TreeKind kind, std::string_view rootText) = 0;
    // Appends an item as the last child of parent.
    virtual uint32_t AddTreeItem(TreeKind kind, uint32_t parent, std::string_view text) = 0;
    // Appends a batch, each entry as the last child of parent or of an earlier entry, and
    // returns the ids in entry order. The view may make the items of a branch only when the
    // branch is first shown; every call taking an id accepts them at once.
    virtual std::vector<uint32_t> AddTreeItems(TreeKind kind, uint32_t parent,
                                               const std::vector<TreeItemEntry>& entries) = 0;
    virtual void ExpandTreeItem(TreeKind kind, uint32_t item) = 0;
    virtual void SelectTreeItem(TreeKind kind, uint32_t item) = 0;
    virtual void SetTreeItemText(TreeKind kind, uint32_t item, std::string_view text) = 0;
    virtual std::string TreeItemText(TreeKind kind, uint32_t item) const = 0;
    // 0 for the root and for unknown items.
    virtual uint32_t TreeItemParent(TreeKind kind, uint32_t item) const = 0;
    virtual uint32_t TreeRoot(TreeKind kind) const = 0;
    virtual uint32_t SelectedTreeItem(TreeKind kind) const = 0;

    // ---- the file list of the browse step. Rows are numbered from 0 in the order appended.
    // Replaces every column.
    virtual void SetListColumns(const std::vector<ListColumn>& columns) = 0;
    virtual void DeleteAllListRows() = 0;
    // A row with its six cells; its text colour is ListRowColour (row_colour.h) of its type.
    virtual void AppendListRow(const ItemRow& row) = 0;
    virtual void SetListRowName(int row, std::string_view name) = 0;
    // The row as appended (with its name as last set); none for a row the list does not hold.
    virtual std::optional<ItemRow> ListRow(int row) const = 0;
    virtual void SetListViewMode(ListViewMode mode) = 0;
    virtual void SetListGridAndFullRowSelect() = 0;
    // The row with the selection mark; -1 when none.
    virtual int ListSelectionMark() const = 0;
    virtual std::vector<int> SelectedListRows() const = 0;
    // Makes the row the only one selected and the selection mark, scrolled into view, with
    // the focus on the list.
    virtual void SelectListRow(int row) = 0;
    // Starts editing the name of a row in place; the edit field takes at most maxLength
    // characters. The view reports the end with WizardController::EndRename.
    virtual void BeginListLabelEdit(int row, size_t maxLength) = 0;
    // Shows the right-click menu at the mouse cursor, the window brought to the foreground.
    virtual void ShowListMenu(bool openWithEnabled) = 0;

    // ---- progress, quick help, menu bar
    virtual void SetProgress(uint32_t percent) = 0;
    // Whether the progress a worker shows (its counters, names and bar) would reach the screen
    // soon. A view slower than the worker says no while it still shows earlier values; the
    // worker may then keep its latest values and hand them over once the view is ready, and
    // when its work ends, before its other calls.
    virtual bool ReadyForProgress() const { return true; }
    virtual void SetQuickHelp(std::string_view text) = 0;
    virtual void SetCommandEnabled(Command command, bool enabled) = 0;

    // ---- notifications: a modal box captioned "Corvalt Lumbra Novell NSS", text exactly as given
    virtual void ShowMessage(MessageKind kind, std::string_view text) = 0;
    virtual Answer AskYesNo(MessageKind kind, std::string_view text) = 0;

    // ---- dialogs
    // Shows the values, lets the user change them; true for OK (values then hold the choices).
    virtual bool RunSettingsDialog(SettingsDialogValues& values) = 0;
    virtual bool RunModeOfRecoveryDialog(ModeOfRecoveryValues& values) = 0;
    // Runs "File Filters" until it is closed; its buttons call the dialog object.
    virtual void RunFileFiltersDialog(FileFiltersDialog& dialog) = 0;
    virtual void ShowProperties(const PropertiesValues& values) = 0;
    virtual void ShowDriveInformation(const DriveInformationValues& values) = 0;
    virtual void ShowAbout(std::string_view text) = 0;
    // The save dialog for "*.qvdx": asks before overwriting, the folder must exist, the file
    // may be new. nullopt when cancelled.
    virtual std::optional<std::string> AskSnapshotSaveName() = 0;
    // The open dialog for "*.qvdx"; the last of several marked files. nullopt when cancelled.
    virtual std::optional<std::string> AskSnapshotLoadName() = 0;
    // Which drive holds a snapshot's disk: `text` says why the user is asked, `drives` are the
    // rows' labels in row order, `preselected` the row offered first. nullopt when cancelled.
    virtual std::optional<size_t> AskSnapshotDrive(std::string_view text, const std::vector<std::string>& drives,
                                                   size_t preselected) = 0;
    // The "Find File(s)" window over the recovered tree. The itemNumber of the file whose row
    // was double-clicked, which closes the window; nullopt when it was closed otherwise.
    virtual std::optional<uint64_t> OpenFindWindow() = 0;
    // The "Disk Map" window over the open drive; views without one ignore it.
    virtual void OpenDiskMap() {}
    // The folder dialog for the destination of recovered files. nullopt when cancelled.
    virtual std::optional<std::string> AskDestinationFolder() = 0;
    // Saves the selection into the destination with the saving window, then tells how it went.
    virtual void RunSaving(const SaveSelection& selection, const std::string& destination) = 0;

    // ---- file lists
    // "Export File List": what to list, the format and the file to write (the save dialog asks
    // before overwriting). nullopt when cancelled.
    virtual std::optional<FileListExportChoice> AskFileListExport(bool selectionAvailable) = 0;
    // The open dialog for a file list (text or JSON). nullopt when cancelled.
    virtual std::optional<std::string> AskFileListToSelect() = 0;
    // Selects exactly these rows of the file list.
    virtual void SelectListRows(const std::vector<int>& rows) = 0;
};

}  // namespace lumbra
