#pragma once
// `LeftPaneTree`: the wizard's left pane. One tree per stage (disks, pools, volumes, the
// recovered folders), with a single root that is expanded when it is inserted, the five
// pictures of its image list, and the click rules of each stage.
#include <QHash>
#include <QTreeWidget>
#include <cstdint>

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
    QString itemText(uint32_t id) const;
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
    uint32_t remember(QTreeWidgetItem* item);
    uint32_t idOf(const QTreeWidgetItem* item) const;
    TreeClickPart partOf(const QTreeWidgetItem* item, const QPoint& position) const;

    TreeStage stage_;
    uint32_t rootId_ = 0;
    uint32_t nextId_ = 1;
    QHash<uint32_t, QTreeWidgetItem*> items_;
};

}  // namespace lumbra
