#include "gui/icon_item_look.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QStyleOptionViewItem>

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
    const QFontMetrics metrics(font);
    if (name.isEmpty()) return {};
    if (metrics.horizontalAdvance(name) <= width) return {name};
    // The first line ends after the last space, dot, dash or underscore that lets it fit; a
    // word wider than the line on its own is cut where the line is full.
    qsizetype cut = 0;
    for (qsizetype end = 1; end < name.size(); ++end) {
        const QChar last = name.at(end - 1);
        const bool breaks = last == u' ' || last == u'.' || last == u'-' || last == u'_';
        if (!breaks) continue;
        if (metrics.horizontalAdvance(name.left(end).trimmed()) > width) break;
        cut = end;
    }
    if (cut == 0) {
        cut = 1;
        while (cut + 1 < name.size() && metrics.horizontalAdvance(name.left(cut + 1)) <= width) ++cut;
    }
    const QString head = name.left(cut).trimmed();
    const QString rest = name.mid(cut).trimmed();
    if (rest.isEmpty()) return {head};
    return {head, metrics.elidedText(rest, Qt::ElideRight, width)};
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
