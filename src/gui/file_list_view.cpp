#include "gui/file_list_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QListView>
#include <QTreeView>
#include <algorithm>

#include "gui/file_list_model.h"
#include "gui/list_item_delegate.h"

namespace lumbra {

FileListView::FileListView(QWidget* parent)
    : QStackedWidget(parent),
      model_(new FileListModel(this)),
      delegate_(new ListItemDelegate(this)),
      details_(new QTreeView),
      icons_(new QListView) {
    details_->setObjectName("FileListDetails");
    icons_->setObjectName("FileListIcons");
    details_->setModel(model_);
    icons_->setModel(model_);
    icons_->setSelectionModel(details_->selectionModel());
    details_->setRootIsDecorated(false);
    details_->setUniformRowHeights(true);
    details_->setItemsExpandable(false);
    details_->header()->setStretchLastSection(false);
    icons_->setUniformItemSizes(true);
    icons_->setResizeMode(QListView::Adjust);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
        view->setItemDelegate(delegate_);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setEditTriggers(QAbstractItemView::SelectedClicked);
        view->setIconSize({16, 16});
        view->setContextMenuPolicy(Qt::PreventContextMenu);
        watch(view);
        addWidget(view);
    }
    setCurrentWidget(details_);
}

void FileListView::watch(QAbstractItemView* view) {
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    connect(view, &QAbstractItemView::doubleClicked, this, [this] { emit rowDoubleClicked(); });
}

bool FileListView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) emit focused();
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        emit rightClicked();
        return true;
    }
    return QStackedWidget::eventFilter(watched, event);
}

void FileListView::setColumns(const std::vector<ListColumn>& columns) {
    model_->setColumns(columns);
    for (size_t column = 0; column < columns.size(); ++column)
        details_->setColumnWidth(static_cast<int>(column), columns[column].width);
}

void FileListView::setMode(ListViewMode mode) {
    mode_ = mode;
    if (mode == ListViewMode::Details) {
        setCurrentWidget(details_);
        return;
    }
    // Both looks arrange their items automatically.
    icons_->setViewMode(mode == ListViewMode::Icons ? QListView::IconMode : QListView::ListMode);
    icons_->setFlow(mode == ListViewMode::Icons ? QListView::LeftToRight : QListView::TopToBottom);
    icons_->setWrapping(true);
    icons_->setMovement(QListView::Static);
    icons_->setGridSize(mode == ListViewMode::Icons ? QSize(120, 22) : QSize());
    setCurrentWidget(icons_);
}

void FileListView::setGridAndFullRowSelect() {
    delegate_->setGridLines(true);
    details_->setSelectionBehavior(QAbstractItemView::SelectRows);
    details_->setAllColumnsShowFocus(true);
    details_->viewport()->update();
}

QAbstractItemView* FileListView::activeView() const {
    return mode_ == ListViewMode::Details ? static_cast<QAbstractItemView*>(details_) : icons_;
}

int FileListView::selectionMark() const {
    model_->flush();
    const QModelIndex current = details_->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

std::vector<int> FileListView::selectedRows() const {
    model_->flush();
    std::vector<int> rows;
    for (const QModelIndex& index : details_->selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FileListView::selectRow(int row) {
    model_->flush();
    const QModelIndex index = model_->index(row, 0);
    details_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    activeView()->scrollTo(index);
}

void FileListView::beginEdit(int row, size_t maxLength) {
    model_->flush();
    const QModelIndex index = model_->index(row, 0);
    if (!index.isValid()) return;
    activeView()->scrollTo(index);
    delegate_->approveNextEdit(maxLength);
    activeView()->edit(index);
}

}  // namespace lumbra
