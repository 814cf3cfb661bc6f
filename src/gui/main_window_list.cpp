// The file list of the View.
#include <QAbstractItemView>
#include <QCursor>

#include "gui/file_list_model.h"
#include "gui/file_list_view.h"
#include "gui/gui_thread.h"
#include "gui/main_window.h"
#include "gui/main_window_menus.h"
#include "toolkit/qt/bitmap_menu.h"

namespace lumbra {

namespace {

// Where the list menu opens, found from the list rather than the screen: at the pointer when it
// lies over the list (a right click), else under the current row (the menu key), where the
// pointer may be anywhere or, on Wayland, unknown.
QPoint ListMenuPlace(const FileListView& list) {
    QAbstractItemView* view = list.activeView();
    QWidget* area = view ? view->viewport() : nullptr;
    if (!area) return list.mapToGlobal(QPoint(0, 0));
    const QPoint pointer = QCursor::pos();
    if (area->rect().contains(area->mapFromGlobal(pointer))) return pointer;
    const QRect row = view->visualRect(view->currentIndex());
    return area->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint(0, 0));
}

}  // namespace

void MainWindow::SetListColumns(const std::vector<ListColumn>& columns) {
    calls_.run([this, columns] { parts_.fileList->setColumns(columns); });
}

void MainWindow::DeleteAllListRows() {
    calls_.run([this] { parts_.fileList->model().clearRows(); });
}

void MainWindow::AppendListRow(const ItemRow& row) {
    calls_.run([this, row]() mutable { parts_.fileList->model().appendRow(std::move(row)); });
}

void MainWindow::SetListRowName(int row, std::string_view name) {
    calls_.run([this, row, name = std::string(name)] { parts_.fileList->model().setRowName(row, name); });
}

std::optional<ItemRow> MainWindow::ListRow(int row) const {
    return calls_.answer([this, row] { return parts_.fileList->model().row(row); });
}

void MainWindow::SetListViewMode(ListViewMode mode) {
    calls_.run([this, mode] { parts_.fileList->setMode(mode); });
}

void MainWindow::SetListGridAndFullRowSelect() {
    calls_.run([this] { parts_.fileList->setGridAndFullRowSelect(); });
}

int MainWindow::ListSelectionMark() const {
    return calls_.answer([this] { return parts_.fileList->selectionMark(); });
}

std::vector<int> MainWindow::SelectedListRows() const {
    return calls_.answer([this] { return parts_.fileList->selectedRows(); });
}

void MainWindow::SelectListRow(int row) {
    calls_.run([this, row] {
        parts_.fileList->selectRow(row);
        parts_.fileList->activeView()->setFocus();
    });
}

void MainWindow::BeginListLabelEdit(int row, size_t maxLength) {
    calls_.run([this, row, maxLength] { parts_.fileList->beginEdit(row, maxLength); });
}

void MainWindow::ShowListMenu(bool openWithEnabled) {
    calls_.run([this, openWithEnabled] {
        raise();
        activateWindow();
        BitmapMenu* menu = BuildListMenu(this, openWithEnabled);
        int chosen = 0;
        connect(menu, &BitmapMenu::commandChosen, this, [&chosen](int id) { chosen = id; });
        menu->exec(ListMenuPlace(*parts_.fileList));
        if (chosen != 0 && controller_) controller_->OnCommand(static_cast<Command>(chosen));
    });
}

}  // namespace lumbra
