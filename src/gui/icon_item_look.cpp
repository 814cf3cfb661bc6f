#include "gui/icon_item_look.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QTextLayout>

namespace lumbra {

namespace {

constexpr int kMargin = 3;
constexpr int kLabelCharacters = 12;

}  // namespace

QSize IconCellSize(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = std::max(kLargeIconSize, metrics.averageCharWidth() * kLabelCharacters) + 2 * kMargin;
    return {width, kMargin + kLargeIconSize + kMargin + 2 * metrics.lineSpacing() + kMargin};
}

QStringList IconLabelLines(const QString& name, const QFont& font, int width) {
    QTextLayout layout(name, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine first = layout.createLine();
    if (first.isValid()) first.setLineWidth(width);
    layout.endLayout();
    if (!first.isValid()) return {};
    const QString head = name.left(first.textLength()).trimmed();
    const QString rest = name.mid(first.textLength()).trimmed();
    if (rest.isEmpty()) return {head};
    return {head, QFontMetrics(font).elidedText(rest, Qt::ElideRight, width)};
}

QRect IconLabelRect(const QRect& cell, const QFont& font) {
    const int top = cell.top() + kMargin + kLargeIconSize + kMargin;
    return {cell.left() + 1, top, cell.width() - 2, 2 * QFontMetrics(font).lineSpacing()};
}

void PaintIconItem(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
    const QRect cell = option.rect;
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    const bool selected = option.state & QStyle::State_Selected;
    const QRect iconRect(cell.left() + (cell.width() - kLargeIconSize) / 2, cell.top() + kMargin, kLargeIconSize,
                         kLargeIconSize);
    icon.paint(&painter, iconRect, Qt::AlignCenter, selected ? QIcon::Selected : QIcon::Normal);

    const QRect labelArea = IconLabelRect(cell, option.font);
    const QStringList lines = IconLabelLines(index.data(Qt::DisplayRole).toString(), option.font, labelArea.width() - 4);
    const QFontMetrics metrics(option.font);
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
    const QRect used(labelArea.center().x() - widest / 2 - 2, labelArea.top(), widest + 4,
                     static_cast<int>(lines.size()) * metrics.lineSpacing());
    painter.save();
    painter.setFont(option.font);
    if (selected) {
        painter.fillRect(used, option.palette.highlight());
        painter.setPen(option.palette.color(QPalette::HighlightedText));
    } else {
        painter.setPen(index.data(Qt::ForegroundRole).value<QColor>());
    }
    int y = labelArea.top();
    for (const QString& line : lines) {
        painter.drawText(QRect(labelArea.left(), y, labelArea.width(), metrics.lineSpacing()),
                         Qt::AlignHCenter | Qt::AlignTop, line);
        y += metrics.lineSpacing();
    }
    painter.restore();
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.rect = used;
        focus.state = option.state;
        focus.palette = option.palette;
        QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, option.widget);
    }
}

}  // namespace lumbra
