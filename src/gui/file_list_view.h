#pragma once
// The file list of the browse step in its three looks: icons and list (a list view) and
// details (a table with a header). Both share one model and one selection.
#include <QStackedWidget>
#include <optional>

#include "app/view.h"

class QAbstractItemView;
class QListView;
class QTreeView;

namespace lumbra {

class FileListModel;
class ListItemDelegate;

class FileListView : public QStackedWidget {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent = nullptr);

    FileListModel& model() { return *model_; }
    ListItemDelegate& delegate() { return *delegate_; }
    void setColumns(const std::vector<ListColumn>& columns);
    void setMode(ListViewMode mode);
    ListViewMode mode() const { return mode_; }
    void setGridAndFullRowSelect();
    // The row with the selection mark; -1 when none.
    int selectionMark() const;
    std::vector<int> selectedRows() const;
    void selectRow(int row);
    void beginEdit(int row, size_t maxLength);
    QAbstractItemView* activeView() const;
    QTreeView* detailsView() const { return details_; }

signals:
    void rowDoubleClicked();
    void rightClicked();
    void focused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QAbstractItemView* view);

    FileListModel* model_;
    ListItemDelegate* delegate_;
    QTreeView* details_;
    QListView* icons_;
    ListViewMode mode_ = ListViewMode::Details;
};

}  // namespace lumbra
