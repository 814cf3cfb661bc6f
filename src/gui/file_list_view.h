#pragma once
// The file list of the browse step in its three looks: icons and list (a list view) and
// details (a table with a header). Both share one model and one selection; each has its own
// row painter and name editor.
#include <QStackedWidget>
#include <functional>
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
    // Asked before an edit the user starts by clicking; false refuses it.
    void setEditApproval(const std::function<bool(int row)>& approve);
    void setColumns(const std::vector<ListColumn>& columns);
    void setMode(ListViewMode mode);
    ListViewMode mode() const { return mode_; }
    void setGridAndFullRowSelect();
    // The row with the selection mark; -1 when none.
    int selectionMark() const;
    std::vector<int> selectedRows() const;
    void selectRow(int row);
    // Selects exactly these rows; the first gets the selection mark.
    void selectRows(const std::vector<int>& rows);
    void beginEdit(int row, size_t maxLength);
    QAbstractItemView* activeView() const;
    QTreeView* detailsView() const { return details_; }

signals:
    // The name edit of `row` ended; no text when it was cancelled.
    void editEnded(int row, std::optional<QString> text);
    void rowDoubleClicked();
    void rightClicked();
    void focused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addView(QAbstractItemView* view, ListItemDelegate* delegate);
    ListItemDelegate* activeDelegate() const;
    // The list look: every cell as wide as the widest name, measured over the rows not measured
    // yet, so that no name is cut to the width of another.
    void fitListCells();

    FileListModel* model_;
    ListItemDelegate* detailsDelegate_;
    ListItemDelegate* iconsDelegate_;
    QTreeView* details_;
    QListView* icons_;
    ListViewMode mode_ = ListViewMode::Details;
    // The rows fitListCells has measured, and the widest of them (-1: none).
    int measuredRows_ = 0;
    int widestRow_ = -1;
    int widestName_ = 0;
};

}  // namespace lumbra
