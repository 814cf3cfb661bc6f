// The left-pane trees of the View. Each kind has one tree at a time; creating one replaces
// the earlier tree of its kind.
#include <QTreeWidget>

#include "gui/latin1.h"
#include "gui/main_window.h"
#include "gui/main_window_parts.h"
#include "gui/tree_pane.h"

namespace lumbra {

namespace {

TreePaneStage StageOf(TreeKind kind) {
    switch (kind) {
        case TreeKind::Drives: return TreePaneStage::Disks;
        case TreeKind::Pools: return TreePaneStage::Pools;
        case TreeKind::Volumes: return TreePaneStage::Volumes;
        case TreeKind::Directory: return TreePaneStage::Files;
    }
    return TreePaneStage::Disks;
}

}  // namespace

QTreeWidget* MainWindow::treeWidget(TreeKind kind) const {
    const TreePane* pane = tree(kind);
    return pane ? pane->widget() : nullptr;
}

TreePane* MainWindow::replaceTree(TreeKind kind, const QString& rootText) {
    TreePane*& slot = trees_[static_cast<size_t>(kind)];
    delete slot;
    slot = new TreePane(StageOf(kind), rootText, parts_.client);
    slot->widget()->setObjectName(QString("Tree%1").arg(static_cast<int>(kind)));
    slot->widget()->setGeometry(QRect(QPoint(kTreeLeft, kTreeTop), QPoint(kTreeRight - 1, kTreeBottom - 1)));
    connectTree(kind, slot);
    return slot;
}

uint32_t MainWindow::CreateTree(TreeKind kind, std::string_view rootText) {
    return calls_.answer([this, kind, text = Latin1(rootText)] { return replaceTree(kind, text)->rootId(); });
}

uint32_t MainWindow::AddTreeItem(TreeKind kind, uint32_t parent, std::string_view text) {
    return calls_.answer([this, kind, parent, shown = Latin1(text)] {
        TreePane* pane = tree(kind);
        return pane ? pane->addItem(parent, shown) : 0u;
    });
}

std::vector<uint32_t> MainWindow::AddTreeItems(TreeKind kind, uint32_t parent, const std::vector<TreeItemEntry>& entries) {
    std::vector<TreePaneEntry> shown;
    shown.reserve(entries.size());
    for (const TreeItemEntry& entry : entries) shown.push_back({entry.parentEntry, Latin1(entry.text), entry.damaged});
    return calls_.answer([this, kind, parent, &shown] {
        TreePane* pane = tree(kind);
        return pane ? pane->addItems(parent, shown) : std::vector<uint32_t>(shown.size(), 0u);
    });
}

void MainWindow::ExpandTreeItem(TreeKind kind, uint32_t item) {
    calls_.run([this, kind, item] {
        if (TreePane* pane = tree(kind))
            if (QTreeWidgetItem* node = pane->item(item)) node->setExpanded(true);
    });
}

void MainWindow::SelectTreeItem(TreeKind kind, uint32_t item) {
    calls_.run([this, kind, item] {
        if (TreePane* pane = tree(kind)) pane->select(item);
    });
}

void MainWindow::SetTreeItemText(TreeKind kind, uint32_t item, std::string_view text) {
    calls_.run([this, kind, item, shown = Latin1(text)] {
        if (TreePane* pane = tree(kind))
            if (QTreeWidgetItem* node = pane->item(item)) node->setText(0, shown);
    });
}

std::string MainWindow::TreeItemText(TreeKind kind, uint32_t item) const {
    return calls_.answer([this, kind, item] {
        const TreePane* pane = tree(kind);
        return pane ? ToLatin1(pane->text(item)) : std::string();
    });
}

uint32_t MainWindow::TreeItemParent(TreeKind kind, uint32_t item) const {
    return calls_.answer([this, kind, item] {
        const TreePane* pane = tree(kind);
        return pane ? pane->parentOf(item) : 0u;
    });
}

uint32_t MainWindow::TreeRoot(TreeKind kind) const {
    return calls_.answer([this, kind] {
        const TreePane* pane = tree(kind);
        return pane ? pane->rootId() : 0u;
    });
}

uint32_t MainWindow::SelectedTreeItem(TreeKind kind) const {
    return calls_.answer([this, kind] {
        const TreePane* pane = tree(kind);
        return pane ? pane->selectedId() : 0u;
    });
}

}  // namespace lumbra
