#include "gui/file_list_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QListView>
#include <QTreeView>
#include <algorithm>

#include "gui/file_list_model.h"
#include "gui/icon_item_look.h"
#include "gui/list_item_delegate.h"

namespace lumbra {

FileListView::FileListView(QWidget* parent)
    : QStackedWidget(parent),
      model_(new FileListModel(this)),
      detailsDelegate_(new ListItemDelegate(this)),
      iconsDelegate_(new ListItemDelegate(this)),
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
    addView(details_, detailsDelegate_);
    addView(icons_, iconsDelegate_);
    setCurrentWidget(details_);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        measuredRows_ = 0;
        widestRow_ = -1;
        widestName_ = 0;
    });
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] {
        if (mode_ == ListViewMode::List) fitListCells();
    });
    connect(model_, &QAbstractItemModel::dataChanged, this, [this] {
        // A renamed row may be the new widest, or no longer the widest.
        measuredRows_ = 0;
        widestRow_ = -1;
        widestName_ = 0;
        if (mode_ == ListViewMode::List) fitListCells();
    });
}

void FileListView::fitListCells() {
    const QFontMetrics metrics(icons_->font());
    const int rows = model_->rowCount();
    for (; measuredRows_ < rows; ++measuredRows_) {
        const int width = metrics.horizontalAdvance(model_->cell(measuredRows_, 0));
        if (width > widestName_ || widestRow_ < 0) {
            widestName_ = width;
            widestRow_ = measuredRows_;
        }
    }
    if (widestRow_ < 0) return;
    QStyleOptionViewItem option;
    option.initFrom(icons_);
    option.decorationSize = icons_->iconSize();
    option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    icons_->setGridSize(iconsDelegate_->sizeHint(option, model_->index(widestRow_, 0)));
}

void FileListView::addView(QAbstractItemView* view, ListItemDelegate* delegate) {
    view->setItemDelegate(delegate);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::SelectedClicked);
    view->setIconSize({16, 16});
    view->setContextMenuPolicy(Qt::PreventContextMenu);
    addWidget(view);
    connect(delegate, &ListItemDelegate::editEnded, this, &FileListView::editEnded);
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
    const bool large = mode == ListViewMode::Icons;
    iconsDelegate_->setLargeIcons(large);
    icons_->setViewMode(large ? QListView::IconMode : QListView::ListMode);
    icons_->setFlow(large ? QListView::LeftToRight : QListView::TopToBottom);
    icons_->setWrapping(true);
    icons_->setMovement(QListView::Static);
    icons_->setIconSize(large ? QSize(kLargeIconSize, kLargeIconSize) : QSize(16, 16));
    icons_->setGridSize(large ? IconCellSize(icons_->font()) : QSize());
    icons_->setSpacing(0);
    if (!large) fitListCells();
    setCurrentWidget(icons_);
    icons_->doItemsLayout();
}

void FileListView::setEditApproval(const std::function<bool(int row)>& approve) {
    detailsDelegate_->setEditApproval(approve);
    iconsDelegate_->setEditApproval(approve);
}

ListItemDelegate* FileListView::activeDelegate() const {
    return mode_ == ListViewMode::Details ? detailsDelegate_ : iconsDelegate_;
}

void FileListView::setGridAndFullRowSelect() {
    detailsDelegate_->setGridLines(true);
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

void FileListView::selectRows(const std::vector<int>& rows) {
    model_->flush();
    QItemSelection selection;
    for (int row : rows) {
        const QModelIndex index = model_->index(row, 0);
        if (index.isValid()) selection.select(index, model_->index(row, model_->columnCount() - 1));
    }
    details_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!rows.empty()) details_->selectionModel()->setCurrentIndex(model_->index(rows.front(), 0), QItemSelectionModel::NoUpdate);
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
    activeDelegate()->approveNextEdit(maxLength);
    activeView()->edit(index);
}

}  // namespace lumbra
