#pragma once
// `LeftPaneTree`: the wizard's left pane. One tree per stage (disks, pools, volumes, the
// recovered folders), with a single root that is expanded when it is inserted, the five
// pictures of its image list, and the click rules of each stage. Items may be added for later:
// they have their ids at once, but are made only when their branch is first shown.
#include <QColor>
#include <QHash>
#include <QIcon>
#include <QTreeWidget>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "toolkit/left_pane_tree_rules.h"

namespace lumbra {

class LeftPaneTree : public QTreeWidget {
    Q_OBJECT
public:
    // volumeName names the root in the file stage.
    explicit LeftPaneTree(TreeStage stage, const QString& volumeName = {}, QWidget* parent = nullptr);

    TreeStage stage() const { return stage_; }
    uint32_t rootId() const { return rootId_; }

    // Adds an item under `parentId` with the stage's picture for children; returns its id,
    // or 0 when the parent is unknown.
    uint32_t addItem(uint32_t parentId, const QString& text);
    // Adds an item that is made when its parent is first expanded (or is made by makeItem);
    // until then its parent shows a branch button. Returns its id, 0 when the parent is unknown.
    // A marked item is made with the mark look.
    uint32_t addLaterItem(uint32_t parentId, const QString& text, bool marked = false);
    // How marked items look: the stage's picture for children as `icon` makes it, the text in
    // `colour`. Without it a marked item looks like any other.
    void setMarkLook(std::function<QIcon(const QIcon&)> icon, const QColor& colour);
    // Makes the waiting children of every expanded item.
    void makeShownBranches();
    // The item of an id, made first (with its waiting ancestors and siblings) when it waits.
    QTreeWidgetItem* makeItem(uint32_t id);
    QString itemText(uint32_t id) const;
    // 0 for the root and for unknown ids.
    uint32_t parentIdOf(uint32_t id) const;
    uint32_t idOf(const QTreeWidgetItem* item) const;
    void expandItemOf(uint32_t id);
    void selectItem(uint32_t id);
    uint32_t selectedId() const;
    QTreeWidgetItem* itemOf(uint32_t id) const;

    // What a press at `position` (viewport coordinates) hits.
    TreeClick hitTest(const QPoint& position) const;

signals:
    // A click that the stage's rules turn into a choice for the wizard.
    void actionChosen(const lumbra::TreeAction& action);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // Dotted lines join every item to its parent, with a boxed plus or minus on branches.
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    struct LaterItem {
        uint32_t parentId;
        QString text;
        bool marked;
    };

    uint32_t remember(QTreeWidgetItem* item);
    void makeChildren(uint32_t parentId);
    TreeClickPart partOf(const QTreeWidgetItem* item, const QPoint& position) const;

    TreeStage stage_;
    uint32_t rootId_ = 0;
    uint32_t nextId_ = 1;
    QHash<uint32_t, QTreeWidgetItem*> items_;
    std::unordered_map<uint32_t, LaterItem> later_;
    // The waiting children of each parent id, in the order they were added.
    std::unordered_map<uint32_t, std::vector<uint32_t>> laterChildren_;
    std::function<QIcon(const QIcon&)> markIcon_;
    QColor markColour_;
};

}  // namespace lumbra
