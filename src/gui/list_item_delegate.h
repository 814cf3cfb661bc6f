#pragma once
// Paints the rows of one of the file list's views (grid lines in the details view, large
// icons with their names below in the Icons look) and runs the in-place name editor: asks
// before an edit the user starts by clicking, limits the name's length, and reports how the
// edit ended. Each view has its own delegate, since an editor belongs to the view it opened in.
#include <QStyledItemDelegate>
#include <functional>
#include <optional>

namespace lumbra {

class ListItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ListItemDelegate(QObject* parent = nullptr);

    void setGridLines(bool on) { gridLines_ = on; }
    void setLargeIcons(bool on) { largeIcons_ = on; }
    // Asked before an edit starts by a click; false refuses it.
    void setEditApproval(std::function<bool(int row)> approve) { approve_ = std::move(approve); }
    // The next edit was asked for by the program: no approval needed.
    void approveNextEdit(size_t maxLength);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

signals:
    // The edit of `row` ended; no text when it was cancelled.
    void editEnded(int row, std::optional<QString> text);

private:
    void onCloseEditor(QWidget* editor);

    bool gridLines_ = false;
    bool largeIcons_ = false;
    std::function<bool(int)> approve_;
    mutable bool preApproved_ = false;
    size_t maxLength_ = 255;
    mutable int editedRow_ = -1;
    mutable std::optional<QString> committed_;
};

}  // namespace lumbra
