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
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { makeChildren(idOf(item)); });
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
    QTreeWidgetItem* parent = makeItem(parentId);
    if (!parent) return 0;
    // Waiting children come first, as they were added first.
    makeChildren(parentId);
    auto* item = new QTreeWidgetItem(parent, QStringList(text));
    item->setIcon(0, TreeImage(TreeChildImage(stage_)));
    return remember(item);
}

uint32_t LeftPaneTree::addLaterItem(uint32_t parentId, const QString& text, bool marked) {
    QTreeWidgetItem* parent = itemOf(parentId);
    if (!parent && !later_.contains(parentId)) return 0;
    const uint32_t id = nextId_++;
    later_.emplace(id, LaterItem{parentId, text, marked});
    laterChildren_[parentId].push_back(id);
    if (parent) parent->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return id;
}

void LeftPaneTree::setMarkLook(std::function<QIcon(const QIcon&)> icon, const QColor& colour) {
    markIcon_ = std::move(icon);
    markColour_ = colour;
}

void LeftPaneTree::makeShownBranches() {
    std::vector<uint32_t> shown;
    for (const auto& [parentId, children] : laterChildren_) {
        const QTreeWidgetItem* parent = itemOf(parentId);
        if (parent && parent->isExpanded()) shown.push_back(parentId);
    }
    for (uint32_t parentId : shown) makeChildren(parentId);
}

void LeftPaneTree::makeChildren(uint32_t parentId) {
    const auto waiting = laterChildren_.find(parentId);
    QTreeWidgetItem* parent = itemOf(parentId);
    if (waiting == laterChildren_.end() || !parent) return;
    const std::vector<uint32_t> ids = std::move(waiting->second);
    laterChildren_.erase(waiting);
    const QIcon icon = TreeImage(TreeChildImage(stage_));
    const QIcon markedIcon = markIcon_ ? markIcon_(icon) : icon;
    QList<QTreeWidgetItem*> made;
    made.reserve(static_cast<qsizetype>(ids.size()));
    for (uint32_t id : ids) {
        const auto found = later_.find(id);
        auto* item = new QTreeWidgetItem(QStringList(found->second.text));
        const bool marked = found->second.marked && markIcon_;
        later_.erase(found);
        item->setIcon(0, marked ? markedIcon : icon);
        if (marked) item->setForeground(0, markColour_);
        item->setData(0, kIdRole, id);
        if (laterChildren_.contains(id)) item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        items_.insert(id, item);
        made.push_back(item);
    }
    parent->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    parent->addChildren(made);
}

QTreeWidgetItem* LeftPaneTree::makeItem(uint32_t id) {
    // A waiting item's parent was added before it, so its id is smaller: the chain ends.
    std::vector<uint32_t> parents;
    for (uint32_t at = id; !itemOf(at);) {
        const auto found = later_.find(at);
        if (found == later_.end()) return nullptr;
        at = found->second.parentId;
        parents.push_back(at);
    }
    for (auto parent = parents.rbegin(); parent != parents.rend(); ++parent) makeChildren(*parent);
    return itemOf(id);
}

QString LeftPaneTree::itemText(uint32_t id) const {
    if (const QTreeWidgetItem* item = itemOf(id)) return item->text(0);
    const auto found = later_.find(id);
    return found == later_.end() ? QString() : found->second.text;
}

uint32_t LeftPaneTree::parentIdOf(uint32_t id) const {
    if (const QTreeWidgetItem* item = itemOf(id)) return idOf(item->parent());
    const auto found = later_.find(id);
    return found == later_.end() ? 0 : found->second.parentId;
}

void LeftPaneTree::expandItemOf(uint32_t id) {
    if (QTreeWidgetItem* item = makeItem(id)) item->setExpanded(true);
}

void LeftPaneTree::selectItem(uint32_t id) {
    if (QTreeWidgetItem* item = makeItem(id)) setCurrentItem(item);
}

uint32_t LeftPaneTree::selectedId() const {
    return idOf(currentItem());
}

TreeClickPart LeftPaneTree::partOf(const QTreeWidgetItem* item, const QPoint& position) const {
    const QRect row = visualItemRect(item);
    if (position.x() < row.left()) {
        // Left of the item: its expand button, or the indentation of its level.
        const bool hasBranch = item->childCount() > 0 || item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
        const bool onButton = hasBranch && position.x() >= row.left() - indentation();
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
