#pragma once
// The rows of the browse step's file list, kept here only. Rows arrive one by one (often from
// the mount worker) and are stored where they stay; the views are told of them in batches,
// and their 8-bit texts and colours become display values only when a view asks for them, so
// that 100,000 rows stay quick and small.
#include <QAbstractTableModel>
#include <optional>
#include <vector>

#include "app/view.h"
#include "gui/damage_overlay.h"
#include "gui/file_type_icons.h"

namespace lumbra {

class FileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The six cells of a row, in column order.
    static constexpr int kCells = 6;

    explicit FileListModel(QObject* parent = nullptr);

    void setColumns(const std::vector<ListColumn>& columns);
    const std::vector<ListColumn>& columns() const { return columns_; }
    void clearRows();
    void appendRow(ItemRow row);
    // The 8-bit name.
    void setRowName(int row, std::string_view name);
    // The row as appended, with its name as last set; none past the rows appended.
    std::optional<ItemRow> row(int row);
    // The row's cell by column position, as the list shows it.
    QString cell(int row, int column) const;
    // Hands the rows appended so far to the views.
    void flush();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    static const std::string& text(const ItemRow& row, size_t column);
    QIcon iconOf(const ItemRow& row) const;

    std::vector<ListColumn> columns_;
    // Every row appended; the views know of the first shownRows_.
    std::vector<ItemRow> rows_;
    size_t shownRows_ = 0;
    bool flushScheduled_ = false;
    FileTypeIcons icons_;
};

}  // namespace lumbra
