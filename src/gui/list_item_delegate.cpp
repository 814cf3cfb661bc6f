#include "gui/list_item_delegate.h"

#include <QLineEdit>
#include <QPainter>

#include "gui/icon_item_look.h"

namespace lumbra {

ListItemDelegate::ListItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {
    connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget* editor) { onCloseEditor(editor); });
}

void ListItemDelegate::approveNextEdit(size_t maxLength) {
    preApproved_ = true;
    maxLength_ = maxLength;
}

QWidget* ListItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    const bool approved = preApproved_ || (approve_ && approve_(index.row()));
    preApproved_ = false;
    if (!approved || index.column() != 0) return nullptr;
    // In the Icons look a plain field: Qt's own editor widens itself with its text, over the
    // names of the neighbouring items.
    auto* editor = largeIcons_ ? new QLineEdit(parent)
                               : qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
    if (!editor) return nullptr;
    editor->setObjectName("RenameEditor");
    editor->setMaxLength(static_cast<int>(maxLength_));
    editedRow_ = index.row();
    committed_.reset();
    return editor;
}

// The wizard writes the name itself once the edit has ended.
void ListItemDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const {
    if (const auto* line = qobject_cast<QLineEdit*>(editor)) committed_ = line->text();
}

void ListItemDelegate::onCloseEditor(QWidget*) {
    const int row = editedRow_;
    const std::optional<QString> text = committed_;
    editedRow_ = -1;
    committed_.reset();
    if (row >= 0) emit editEnded(row, text);
}

void ListItemDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const {
    if (!largeIcons_) return QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    // Over both lines of the item's own name, inside its cell.
    editor->setGeometry(IconLabelRect(option.rect, option.font));
}

QSize ListItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return largeIcons_ ? IconCellSize(option.font) : QStyledItemDelegate::sizeHint(option, index);
}

void ListItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (largeIcons_) return PaintIconItem(*painter, option, index);
    QStyledItemDelegate::paint(painter, option, index);
    if (!gridLines_) return;
    painter->save();
    painter->setPen(QColor(0xd8, 0xd8, 0xd8));
    painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
}

}  // namespace lumbra
