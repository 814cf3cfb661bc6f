#pragma once
// The drawing of the disk map: a bar for the whole disk, a grid of the selected pool's area and
// the legend, in the colours of the disk picture. Hovering a cell shows what lies there; a
// click reports the cell; the runs of a chosen file are outlined.
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "picture/disk_layout_index.h"
#include "picture/disk_picture.h"
#include "recovery/record_lists.h"

namespace lumbra {

class DiskMapCanvas : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMargin = 8;
    static constexpr int kGridColumns = 64;
    static constexpr int kCellSize = 10;
    static constexpr int kBarCells = kGridColumns * kCellSize / 4;  // 4 pixels each
    static constexpr int kBarHeight = 28;
    static constexpr uint32_t kGridCells = 2048;

    explicit DiskMapCanvas(QWidget* parent = nullptr);

    // A new picture; tree: whose files its FileData spans name (may be null).
    void setPicture(std::shared_ptr<const DiskPicture> picture, const RecoveredTree* tree, const QString& title);
    // Cells again after the picture's damage or scan position changed.
    void refreshCells();
    // The disk sectors to outline; empty for none.
    void setOutline(std::vector<SectorRange> runs);
    // Selects the cell that holds `sector`: the pool grid's when the sector lies in the selected
    // pool's area, else the bar's; nullopt (and nothing selected) when no cell holds it.
    std::optional<PictureCell> selectSector(uint64_t sector);
    void clearSelection();
    // The cell selected by a click or by selectSector; nullopt when none.
    std::optional<PictureCell> selectedCell() const { return selected_; }

    const DiskPicture* picture() const { return picture_.get(); }
    const DiskLayoutIndex* index() const { return index_.get(); }
    // The cell under a point of the widget: the bar's or the grid's; nullopt between them.
    std::optional<PictureCell> cellAt(QPoint point) const;
    // Where a grid or bar cell is drawn; for tests and the grab tool.
    QRect gridCellRect(size_t cell) const;
    QRect barCellRect(size_t cell) const;
    const std::vector<PictureCell>& gridCells() const { return grid_; }
    const std::vector<PictureCell>& barCells() const { return bar_; }
    const std::vector<SectorRange>& outline() const { return outline_; }

    // Two columns when every legend line fits half the width, else one.
    int legendColumns() const;

    QSize sizeHint() const override;

signals:
    void cellClicked(uint64_t firstSector, uint64_t sectors);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    int gridTop() const;
    int legendTop() const;

    QString tooltipText(const PictureCell& cell) const;
    void paintCell(class QPainter& painter, const QRect& rect, const PictureCell& cell) const;
    bool outlined(const PictureCell& cell) const;

    std::shared_ptr<const DiskPicture> picture_;
    std::unique_ptr<DiskLayoutIndex> index_;
    const RecoveredTree* tree_ = nullptr;
    QString title_;
    std::vector<PictureCell> bar_;
    std::vector<PictureCell> grid_;
    std::vector<SectorRange> outline_;
    std::optional<PictureCell> selected_;
};

}  // namespace lumbra
