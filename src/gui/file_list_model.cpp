#include "gui/file_list_model.h"

#include <QTimer>

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
    pending_.clear();
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void FileListModel::appendRow(const ItemRow& item) {
    const RowColour colour = ListRowColour(item.type, item.damaged);
    pending_.push_back(Row{item.kind,
                           {Latin1(item.name), Latin1(item.type), Latin1(item.size), Latin1(item.date),
                            Latin1(item.time), Latin1(item.key)},
                           QColor(colour.red, colour.green, colour.blue), item.damaged});
    if (flushScheduled_) return;
    flushScheduled_ = true;
    QTimer::singleShot(0, this, &FileListModel::flush);
}

void FileListModel::flush() {
    flushScheduled_ = false;
    if (pending_.empty()) return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(pending_.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(pending_.begin()), std::make_move_iterator(pending_.end()));
    pending_.clear();
    endInsertRows();
}

void FileListModel::setRowName(int row, const QString& name) {
    flush();
    if (row < 0 || row >= rowCount()) return;
    rows_[static_cast<size_t>(row)].cells[0] = name;
    emit dataChanged(index(row, 0), index(row, 0));
}

QString FileListModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kCells) return {};
    return rows_[static_cast<size_t>(row)].cells[column];
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QIcon FileListModel::iconOf(const Row& row) const {
    if (row.kind == ItemRow::Kind::Folder) return FileTypeIcons::folder();
    return row.damaged ? WithDamageOverlay(icons_.file(row.cells[0])) : icons_.file(row.cells[0]);
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kCells) return {};
    const Row& row = rows_[static_cast<size_t>(index.row())];
    const auto column = static_cast<size_t>(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return row.cells[column];
        case Qt::DecorationRole: return column == 0 ? QVariant(iconOf(row)) : QVariant();
        case Qt::ForegroundRole: return row.colour;
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
