#pragma once
// One tree of the left pane as the main window uses it: the toolkit's LeftPaneTree with ids
// for its items, and its raw left clicks (item and the part of it that was hit) reported for
// the wizard, which applies the rules of each step itself.
#include <QHash>
#include <QObject>
#include <QStringList>
#include <cstdint>

class QTreeWidget;
class QTreeWidgetItem;

namespace lumbra {

class LeftPaneTree;

// The part of an item a click hit, in the tree's own terms.
enum class TreePaneHit { Nowhere, Indent, Button, Icon, Label, RightOfLabel };

// The four trees: disks, pools, volumes, recovered folders.
enum class TreePaneStage { Disks, Pools, Volumes, Files };

class TreePane : public QObject {
    Q_OBJECT
public:
    TreePane(TreePaneStage stage, const QString& rootText, QWidget* parent);
    ~TreePane() override;

    QTreeWidget* widget() const;
    uint32_t rootId() const;
    uint32_t addItem(uint32_t parent, const QString& text);
    QTreeWidgetItem* item(uint32_t id) const;
    uint32_t idOf(const QTreeWidgetItem* item) const;
    uint32_t parentOf(uint32_t id) const;
    uint32_t selectedId() const;
    void select(uint32_t id);

signals:
    void leftClicked(uint32_t item, lumbra::TreePaneHit part);
    // Local files dropped onto the disks tree.
    void filesDropped(const QStringList& paths);
    void focused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LeftPaneTree* tree_;
    // Kept, since events still arrive while the tree is being destroyed.
    QWidget* viewport_;
    bool acceptsFiles_;
    QHash<const QTreeWidgetItem*, uint32_t> ids_;
};

}  // namespace lumbra
