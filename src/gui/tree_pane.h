#pragma once
// One tree of the left pane as the main window uses it: the toolkit's LeftPaneTree with ids
// for its items, and its raw left clicks (item and the part of it that was hit) reported for
// the wizard, which applies the rules of each step itself.
#include <QObject>
#include <QStringList>
#include <QString>
#include <cstdint>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace lumbra {

class LeftPaneTree;

// The part of an item a click hit, in the tree's own terms.
enum class TreePaneHit { Nowhere, Indent, Button, Icon, Label, RightOfLabel };

// The four trees: disks, pools, volumes, recovered folders.
enum class TreePaneStage { Disks, Pools, Volumes, Files };

// One item of a batch: below the item the batch goes under or an earlier entry (by position;
// a position not earlier means the batch's parent); damaged items carry the damage mark.
struct TreePaneEntry {
    uint32_t parentEntry = 0;
    QString text;
    bool damaged = false;
};

class TreePane : public QObject {
    Q_OBJECT
public:
    TreePane(TreePaneStage stage, const QString& rootText, QWidget* parent);
    ~TreePane() override;

    QTreeWidget* widget() const;
    uint32_t rootId() const;
    uint32_t addItem(uint32_t parent, const QString& text);
    // Items of a batch, made when their branch is first shown. Ids in entry order. In the
    // recovered folders' tree a damaged item has the list's damage look: the warning sign on
    // its icon, also when selected, and the amber text.
    std::vector<uint32_t> addItems(uint32_t parent, const std::vector<TreePaneEntry>& entries);
    // The item of an id, made first when it waits for its branch to be shown.
    QTreeWidgetItem* item(uint32_t id);
    QString text(uint32_t id) const;
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
};

}  // namespace lumbra
