#include "toolkit/qt/left_pane_tree.h"

#include <QMouseEvent>
#include <QPainter>

#include "toolkit/qt/pictures.h"

namespace lumbra {

namespace {

constexpr int kIdRole = Qt::UserRole + 1;
constexpr int kTextMargin = 4;   // room the view leaves around an item's icon and text

QIcon TreeImage(int index) {
    return QIcon(Picture(QStringLiteral("tree_%1").arg(kTreeImageResources[static_cast<size_t>(index)])));
}

}  // namespace

LeftPaneTree::LeftPaneTree(TreeStage stage, const QString& volumeName, QWidget* parent)
    : QTreeWidget(parent), stage_(stage) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setIconSize(QSize(16, 16));
    setFrameShape(QFrame::StyledPanel);
    setSelectionMode(QAbstractItemView::SingleSelection);
    auto* root = new QTreeWidgetItem(QStringList(QString::fromStdString(TreeRootText(stage, volumeName.toStdString()))));
    root->setIcon(0, TreeImage(TreeRootImage(stage)));
    addTopLevelItem(root);
    rootId_ = remember(root);
    root->setExpanded(true);
}

uint32_t LeftPaneTree::remember(QTreeWidgetItem* item) {
    const uint32_t id = nextId_++;
    item->setData(0, kIdRole, id);
    items_.insert(id, item);
    return id;
}

uint32_t LeftPaneTree::idOf(const QTreeWidgetItem* item) const {
    return item ? item->data(0, kIdRole).toUInt() : 0;
}

QTreeWidgetItem* LeftPaneTree::itemOf(uint32_t id) const {
    return items_.value(id, nullptr);
}

uint32_t LeftPaneTree::addItem(uint32_t parentId, const QString& text) {
    QTreeWidgetItem* parent = itemOf(parentId);
    if (!parent) return 0;
    auto* item = new QTreeWidgetItem(parent, QStringList(text));
    item->setIcon(0, TreeImage(TreeChildImage(stage_)));
    return remember(item);
}

QString LeftPaneTree::itemText(uint32_t id) const {
    const QTreeWidgetItem* item = itemOf(id);
    return item ? item->text(0) : QString();
}

void LeftPaneTree::expandItemOf(uint32_t id) {
    if (QTreeWidgetItem* item = itemOf(id)) item->setExpanded(true);
}

void LeftPaneTree::selectItem(uint32_t id) {
    if (QTreeWidgetItem* item = itemOf(id)) setCurrentItem(item);
}

uint32_t LeftPaneTree::selectedId() const {
    return idOf(currentItem());
}

TreeClickPart LeftPaneTree::partOf(const QTreeWidgetItem* item, const QPoint& position) const {
    const QRect row = visualItemRect(item);
    if (position.x() < row.left()) {
        // Left of the item: its expand button, or the indentation of its level.
        const bool onButton = item->childCount() > 0 && position.x() >= row.left() - indentation();
        return onButton ? TreeClickPart::Button : TreeClickPart::Indent;
    }
    const int iconEnd = row.left() + iconSize().width() + 2 * kTextMargin;
    if (position.x() < iconEnd) return TreeClickPart::Icon;
    const int labelEnd = iconEnd + fontMetrics().horizontalAdvance(item->text(0)) + kTextMargin;
    return position.x() < labelEnd ? TreeClickPart::Label : TreeClickPart::RightOfLabel;
}

TreeClick LeftPaneTree::hitTest(const QPoint& position) const {
    const QTreeWidgetItem* item = itemAt(position);
    TreeClick click;
    if (!item) {
        item = itemOf(rootId_);
        click.part = TreeClickPart::Nowhere;
    } else {
        click.part = partOf(item, position);
    }
    click.onRoot = idOf(item) == rootId_;
    click.text = item->text(0).toStdString();
    click.itemId = idOf(item);
    const QTreeWidgetItem* root = itemOf(rootId_);
    click.childRow = click.onRoot ? -1 : root->indexOfChild(const_cast<QTreeWidgetItem*>(item));
    return click;
}

void LeftPaneTree::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTreeWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const TreeClick click = hitTest(event->position().toPoint());
    if (click.part == TreeClickPart::Button) {
        // The view opens and closes the branch; that alone chooses nothing.
        QTreeWidget::mousePressEvent(event);
    }
    if (click.part == TreeClickPart::Nowhere) selectItem(rootId_);
    const TreeAction action = ResolveTreeClick(stage_, click);
    if (action.kind == TreeActionKind::None) return;
    selectItem(action.itemId);
    emit actionChosen(action);
}

void LeftPaneTree::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
    const int indent = indentation();
    const int middle = rect.center().y();
    auto columnCentre = [&](int levelsUp) { return rect.right() - indent * levelsUp - indent / 2; };
    auto hasNextSibling = [](const QModelIndex& item) { return item.sibling(item.row() + 1, 0).isValid(); };
    painter->save();
    painter->setPen(QPen(palette().color(QPalette::Dark), 1, Qt::DotLine));
    const int x = columnCentre(0);
    painter->drawLine(x, middle, rect.right(), middle);
    if (index.parent().isValid() || index.row() > 0) painter->drawLine(x, rect.top(), x, middle);
    if (hasNextSibling(index)) painter->drawLine(x, middle, x, rect.bottom());
    int levelsUp = 1;
    for (QModelIndex ancestor = index.parent(); ancestor.isValid(); ancestor = ancestor.parent(), ++levelsUp) {
        if (hasNextSibling(ancestor)) painter->drawLine(columnCentre(levelsUp), rect.top(), columnCentre(levelsUp), rect.bottom());
    }
    if (model()->hasChildren(index)) {
        const QRect box(x - 4, middle - 4, 8, 8);
        painter->setPen(palette().color(QPalette::Dark));
        painter->fillRect(box, palette().color(QPalette::Base));
        painter->drawRect(box);
        painter->setPen(palette().color(QPalette::Text));
        painter->drawLine(x - 2, middle, x + 2, middle);
        if (!isExpanded(index)) painter->drawLine(x, middle - 2, x, middle + 2);
    }
    painter->restore();
}

}  // namespace lumbra
