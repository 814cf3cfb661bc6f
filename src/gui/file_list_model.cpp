#include "gui/file_list_model.h"

#include <QColor>
#include <QMetaObject>

#include "app/row_colour.h"
#include "gui/latin1.h"

namespace lumbra {

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent) {}

void FileListModel::setColumns(const std::vector<ListColumn>& columns) {
    flush();
    beginResetModel();
    columns_ = columns;
    endResetModel();
}

void FileListModel::clearRows() {
    beginResetModel();
    // Cleared in place: the next fill reuses the room of this one.
    rows_.clear();
    shownRows_ = 0;
    endResetModel();
}

void FileListModel::appendRow(ItemRow item) {
    rows_.push_back(std::move(item));
    if (flushScheduled_) return;
    flushScheduled_ = true;
    QMetaObject::invokeMethod(this, &FileListModel::flush, Qt::QueuedConnection);
}

void FileListModel::flush() {
    flushScheduled_ = false;
    if (shownRows_ == rows_.size()) return;
    beginInsertRows({}, static_cast<int>(shownRows_), static_cast<int>(rows_.size()) - 1);
    shownRows_ = rows_.size();
    endInsertRows();
}

void FileListModel::setRowName(int row, std::string_view name) {
    flush();
    if (row < 0 || row >= rowCount()) return;
    rows_[static_cast<size_t>(row)].name = name;
    emit dataChanged(index(row, 0), index(row, 0));
}

std::optional<ItemRow> FileListModel::row(int row) {
    flush();
    if (row < 0 || row >= rowCount()) return std::nullopt;
    return rows_[static_cast<size_t>(row)];
}

const std::string& FileListModel::text(const ItemRow& row, size_t column) {
    switch (column) {
        case 0: return row.name;
        case 1: return row.type;
        case 2: return row.size;
        case 3: return row.date;
        case 4: return row.time;
        default: return row.key;
    }
}

QString FileListModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kCells) return {};
    return Latin1(text(rows_[static_cast<size_t>(row)], static_cast<size_t>(column)));
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shownRows_);
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QIcon FileListModel::iconOf(const ItemRow& row) const {
    const QIcon icon = row.kind == ItemRow::Kind::Folder ? FileTypeIcons::folder() : icons_.file(Latin1(row.name));
    return row.damaged ? WithDamageOverlay(icon) : icon;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kCells) return {};
    const ItemRow& row = rows_[static_cast<size_t>(index.row())];
    const auto column = static_cast<size_t>(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return Latin1(text(row, column));
        case Qt::DecorationRole: return column == 0 ? QVariant(iconOf(row)) : QVariant();
        case Qt::ForegroundRole: {
            const RowColour colour = ListRowColour(row.type, row.damaged);
            return QColor(colour.red, colour.green, colour.blue);
        }
        case Qt::BackgroundRole: return QColor(Qt::white);
        case Qt::TextAlignmentRole:
            if (column < columns_.size() && columns_[column].rightAligned)
                return QVariant(Qt::AlignRight | Qt::AlignVCenter);
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        default: return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || static_cast<size_t>(section) >= columns_.size()) return {};
    const ListColumn& column = columns_[static_cast<size_t>(section)];
    if (role == Qt::DisplayRole) return Latin1(column.header);
    if (role == Qt::TextAlignmentRole)
        return QVariant((column.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == 0) flags |= Qt::ItemIsEditable;
    return flags;
}

}  // namespace lumbra
