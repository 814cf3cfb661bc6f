#pragma once
// The Icons look of the file list: a large icon with its name centred below it, in cells wide
// enough for about a dozen characters. A name that does not fit on one line wraps to a second,
// which ends in an ellipsis when the name is longer still.
#include <QSize>
#include <QStringList>

class QFont;
class QModelIndex;
class QPainter;
class QRect;
class QStyleOptionViewItem;

namespace lumbra {

constexpr int kLargeIconSize = 32;

// The cell of one item for the font; the view's grid is this size.
QSize IconCellSize(const QFont& font);
// The one or two lines a name is shown in, each no wider than `width`.
QStringList IconLabelLines(const QString& name, const QFont& font, int width);
// Where the name's lines lie inside an item's cell (also where its editor opens).
QRect IconLabelRect(const QRect& cell, const QFont& font);
void PaintIconItem(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index);

}  // namespace lumbra
