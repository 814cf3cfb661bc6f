#include "gui/disk_map_canvas.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "gui/latin1.h"
#include "picture/picture_colours.h"
#include "picture/picture_legend.h"

namespace lumbra {
namespace {

constexpr int kTitleHeight = 20;
constexpr int kLegendLine = 18;
constexpr int kLegendSwatch = 20;  // the swatch and the gap after it
constexpr size_t kTooltipNames = 12;

QColor Colour(uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

// Damage's hatch, or the checker that fades the colour of sectors never read.
void PaintMark(QPainter& painter, const QRect& rect, bool hatched, bool faded) {
    if (hatched) painter.fillRect(rect, QBrush(Colour(kHatchColour), Qt::BDiagPattern));
    if (faded) painter.fillRect(rect, QBrush(Colour(kFadeColour), Qt::Dense4Pattern));
}

QString Sectors(uint64_t first, uint64_t count) {
    return QString("sectors %1-%2").arg(first).arg(first + count - 1);
}

QString LegendText(const LegendEntry& entry) {
    return QString::fromStdString(entry.name) + ": " + QString::fromStdString(SizeText(entry.sectors));
}

bool Holds(const PictureCell& cell, uint64_t sector) { return sector >= cell.first && sector - cell.first < cell.count; }

}  // namespace

DiskMapCanvas::DiskMapCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName("DiskMapCanvas");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The grid and the legend are laid out for the size the canvas asks for.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void DiskMapCanvas::setPicture(std::shared_ptr<const DiskPicture> picture, const RecoveredTree* tree, const QString& title) {
    picture_ = std::move(picture);
    tree_ = tree;
    title_ = title;
    index_ = std::make_unique<DiskLayoutIndex>(*picture_);
    selected_.reset();
    refreshCells();
    updateGeometry();
}

void DiskMapCanvas::refreshCells() {
    if (!picture_) return;
    // The cells keep their sectors while the picture is the same: a selection stays.
    const bool keep = selected_.has_value();
    const uint64_t keptSector = keep ? selected_->first : 0;
    bar_ = picture_->cells(0, picture_->diskSectors(), kBarCells);
    grid_.clear();
    if (picture_->selectedPool != PictureCell::kNoPool) {
        const auto [first, end] = picture_->selectedPoolArea();
        grid_ = picture_->cells(first, end, kGridCells);
    }
    if (keep) selectSector(keptSector);
    update();
}

void DiskMapCanvas::setOutline(std::vector<SectorRange> runs) {
    outline_ = std::move(runs);
    update();
}

std::optional<PictureCell> DiskMapCanvas::selectSector(uint64_t sector) {
    selected_.reset();
    for (const auto* cells : {&grid_, &bar_}) {
        const auto found = std::find_if(cells->begin(), cells->end(), [sector](const PictureCell& cell) { return Holds(cell, sector); });
        if (found == cells->end()) continue;
        selected_ = *found;
        break;
    }
    update();
    return selected_;
}

void DiskMapCanvas::clearSelection() {
    selected_.reset();
    update();
}

int DiskMapCanvas::legendColumns() const {
    if (!picture_) return 2;
    const int half = (kGridColumns * kCellSize) / 2 - kLegendSwatch - 4;
    for (const LegendEntry& entry : PictureLegend(*picture_))
        if (fontMetrics().horizontalAdvance(LegendText(entry)) > half) return 1;
    return 2;
}

int DiskMapCanvas::gridTop() const { return kMargin + kTitleHeight + kBarHeight + kMargin + kTitleHeight; }

int DiskMapCanvas::legendTop() const {
    const int rows = static_cast<int>((grid_.size() + kGridColumns - 1) / kGridColumns);
    return (grid_.empty() ? kMargin + kTitleHeight + kBarHeight : gridTop() + rows * kCellSize) + kMargin * 2;
}

QSize DiskMapCanvas::sizeHint() const {
    const size_t entries = picture_ ? PictureLegend(*picture_).size() : kPictureKindCount;
    const int columns = legendColumns();
    const int legendRows = static_cast<int>((entries + columns - 1) / columns);
    const int gridRows = static_cast<int>(kGridCells / kGridColumns);
    return {kGridColumns * kCellSize + 2 * kMargin, gridTop() + gridRows * kCellSize + 2 * kMargin + legendRows * kLegendLine + kMargin};
}

QRect DiskMapCanvas::barCellRect(size_t cell) const {
    const int width = kGridColumns * kCellSize / kBarCells;
    return {kMargin + static_cast<int>(cell) * width, kMargin + kTitleHeight, width, kBarHeight};
}

QRect DiskMapCanvas::gridCellRect(size_t cell) const {
    return {kMargin + static_cast<int>(cell % kGridColumns) * kCellSize, gridTop() + static_cast<int>(cell / kGridColumns) * kCellSize,
            kCellSize, kCellSize};
}

std::optional<PictureCell> DiskMapCanvas::cellAt(QPoint point) const {
    for (size_t i = 0; i < bar_.size(); ++i)
        if (barCellRect(i).contains(point)) return bar_[i];
    const int column = (point.x() - kMargin) / kCellSize;
    const int row = (point.y() - gridTop()) / kCellSize;
    if (point.x() < kMargin || point.y() < gridTop() || column >= kGridColumns) return std::nullopt;
    const size_t cell = static_cast<size_t>(row) * kGridColumns + static_cast<size_t>(column);
    if (cell < grid_.size()) return grid_[cell];
    return std::nullopt;
}

bool DiskMapCanvas::outlined(const PictureCell& cell) const {
    for (const SectorRange& run : outline_)
        if (run.first < cell.first + cell.count && cell.first < run.end()) return true;
    return false;
}

void DiskMapCanvas::paintCell(QPainter& painter, const QRect& rect, const PictureCell& cell) const {
    painter.fillRect(rect, Colour(CellColour(cell)));
    PaintMark(painter, rect, cell.dominant == PictureKind::Damaged, cell.dominant == PictureKind::NeverRead);
}

void DiskMapCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().windowText().color());
    painter.drawText(QRect(kMargin, kMargin, width() - 2 * kMargin, kTitleHeight), Qt::AlignLeft | Qt::AlignVCenter, title_);
    if (!picture_) return;
    for (size_t i = 0; i < bar_.size(); ++i) paintCell(painter, barCellRect(i), bar_[i]);
    if (!grid_.empty()) {
        const auto [first, end] = picture_->selectedPoolArea();
        const QString name = "Pool " + Latin1(picture_->poolNames[picture_->selectedPool]) + ": " + Sectors(first, end - first);
        painter.drawText(QRect(kMargin, gridTop() - kTitleHeight, width() - 2 * kMargin, kTitleHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        for (size_t i = 0; i < grid_.size(); ++i) {
            const QRect cell = gridCellRect(i);
            paintCell(painter, cell, grid_[i]);
            painter.setPen(QPen(palette().window().color(), 1));
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
    // The chosen file's runs: a black frame with a white one inside, seen on every colour.
    for (int pass = 0; pass < 2; ++pass) {
        painter.setPen(QPen(pass == 0 ? Colour(kOutlineColour) : Qt::white, pass == 0 ? 3 : 1));
        for (size_t i = 0; i < grid_.size(); ++i)
            if (outlined(grid_[i])) painter.drawRect(gridCellRect(i).adjusted(1, 1, -2, -2));
        for (size_t i = 0; i < bar_.size(); ++i)
            if (outlined(bar_[i])) painter.drawRect(barCellRect(i).adjusted(0, 1, -1, -2));
    }
    // The cell asked for: a thick frame in the outline's colours, over a wider white one.
    if (selected_) {
        for (int pass = 0; pass < 2; ++pass) {
            painter.setPen(QPen(pass == 0 ? Qt::white : Colour(kOutlineColour), pass == 0 ? 5 : 2));
            for (size_t i = 0; i < grid_.size(); ++i)
                if (grid_[i].first == selected_->first && grid_[i].count == selected_->count)
                    painter.drawRect(gridCellRect(i).adjusted(-1, -1, 0, 0));
            for (size_t i = 0; i < bar_.size(); ++i)
                if (bar_[i].first == selected_->first && bar_[i].count == selected_->count)
                    painter.drawRect(barCellRect(i).adjusted(-1, -1, 0, 0));
        }
    }
    const auto legend = PictureLegend(*picture_);
    const int columns = legendColumns();
    const int columnWidth = (kGridColumns * kCellSize) / columns;
    painter.setPen(palette().windowText().color());
    for (size_t i = 0; i < legend.size(); ++i) {
        const int x = kMargin + static_cast<int>(i % static_cast<size_t>(columns)) * columnWidth;
        const int y = legendTop() + static_cast<int>(i / static_cast<size_t>(columns)) * kLegendLine;
        const QRect swatch(x, y + 2, 14, 14);
        painter.fillRect(swatch, Colour(legend[i].colour));
        PaintMark(painter, swatch, legend[i].hatched, legend[i].faded);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
        painter.drawText(QRect(x + kLegendSwatch, y, columnWidth - kLegendSwatch, kLegendLine), Qt::AlignLeft | Qt::AlignVCenter,
                         LegendText(legend[i]));
    }
}

QString DiskMapCanvas::tooltipText(const PictureCell& cell) const {
    QString text = "<qt><b>" + Sectors(cell.first, cell.count) + "</b>";
    for (auto kind = kAllPictureKinds.rbegin(); kind != kAllPictureKinds.rend(); ++kind) {
        if ((cell.kinds & KindBit(*kind)) == 0) continue;
        if (*kind == PictureKind::Pool && cell.pool < picture_->poolNames.size())
            text += "<br>pool " + Latin1(picture_->poolNames[cell.pool]).toHtmlEscaped();
        else
            text += "<br>" + QString::fromUtf8(PictureKindName(*kind).data(), static_cast<qsizetype>(PictureKindName(*kind).size()));
    }
    // Files first: they are what a user looks for; the metadata blocks follow.
    auto hits = index_->at(cell.first, cell.count);
    std::stable_partition(hits.begin(), hits.end(), [](const LayoutHit& hit) { return hit.kind == PictureKind::FileData; });
    for (size_t i = 0; i < hits.size() && i < kTooltipNames; ++i) {
        if (hits[i].kind == PictureKind::Metadata) {
            const MetadataBlock& block = picture_->metadata()[hits[i].owner];
            const std::string_view name = MetadataKindName(block.kind);
            text += "<br>&nbsp;&nbsp;" + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) +
                    QString(" at %1").arg(block.sector);
        } else if (tree_ && hits[i].owner < tree_->files().size()) {
            text += "<br>&nbsp;&nbsp;" + Latin1(tree_->files()[hits[i].owner].name).toHtmlEscaped();
        }
    }
    if (hits.size() > kTooltipNames) text += QString("<br>&nbsp;&nbsp;and %1 more").arg(hits.size() - kTooltipNames);
    return text + "</qt>";
}

bool DiskMapCanvas::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const auto cell = picture_ ? cellAt(help->pos()) : std::nullopt;
    if (cell) QToolTip::showText(help->globalPos(), tooltipText(*cell), this);
    else QToolTip::hideText();
    return true;
}

void DiskMapCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !picture_) return;
    if (const auto cell = cellAt(event->position().toPoint())) {
        selected_ = cell;
        update();
        emit cellClicked(cell->first, cell->count);
    }
}

}  // namespace lumbra
