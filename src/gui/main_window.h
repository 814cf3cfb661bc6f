#pragma once
// The main wizard window: a fixed-size window laid out in dialog units over its background
// picture, holding the left-pane trees, the information panel, the option groups, the
// navigation buttons, the progress bar, the quick help and the file list. It is the wizard's
// View; calls from the workers are applied on the GUI thread in the order they were made.
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

#include "app/session.h"
#include "app/view.h"
#include "app/wizard_controller.h"
#include "gui/dialog_units.h"
#include "gui/gui_thread.h"
#include "gui/main_window_parts.h"

class QMenuBar;
class QTreeWidget;

namespace lumbra {
class MarkupToolTip;
class DiskMapWindow;
}

namespace lumbra {

class MainWindow : public QWidget, public View {
    Q_OBJECT
public:
    MainWindow(Session& session, Desktop& desktop, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Connects the window's controls to the wizard; before StartUp.
    void attach(WizardController& controller);

    // ---- for the tests and the grab tool
    TreePane* tree(TreeKind kind) const { return trees_[static_cast<size_t>(kind)]; }
    // The widget of the tree of a kind; null before its step created it.
    QTreeWidget* treeWidget(TreeKind kind) const;
    FileListView& fileList() const { return *parts_.fileList; }
    QWidget* element(Element element) const;
    const MainWindowParts& parts() const { return parts_; }
    QMenuBar* menuBar() const { return menuBar_; }
    const DialogUnits& units() const { return units_; }

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
    bool ReadyForProgress() const override { return calls_.readyForLatest(); }
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
    void OpenDiskMap() override;
    // The "Disk Map" window once opened; null before.
    DiskMapWindow* diskMapWindow() const;
    std::optional<std::string> AskDestinationFolder() override;
    void RunSaving(const SaveSelection& selection, const std::string& destination) override;
    std::optional<FileListExportChoice> AskFileListExport(bool selectionAvailable) override;
    std::optional<std::string> AskFileListToSelect() override;
    void SelectListRows(const std::vector<int>& rows) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The parts of the View that run on the GUI thread.
    void applyVisible(Element element, bool visible);
    void applyEnabled(Element element, bool enabled);
    void applyText(Element element, const QString& text);
    QString currentText(Element element) const;
    TreePane* replaceTree(TreeKind kind, const QString& rootText);
    void connectTree(TreeKind kind, TreePane* tree);
    void connectControls();
    bool filterKey(QKeyEvent* event);
    void runSavingWindow(const SaveSelection& selection, const QString& destination);

    Session& session_;
    Desktop& desktop_;
    DialogUnits units_;
    WizardController* controller_ = nullptr;
    QMenuBar* menuBar_;
    MainWindowParts parts_;
    std::array<TreePane*, 4> trees_{};
    std::unique_ptr<MarkupToolTip> helpTipA_;
    std::unique_ptr<MarkupToolTip> helpTipB_;
    mutable OrderedCalls calls_{this};
    QPointer<QWidget> diskMap_;  // a DiskMapWindow
};

}  // namespace lumbra
