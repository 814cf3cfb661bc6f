#include "gui/tree_pane.h"

#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QCoreApplication>

#include "app/row_colour.h"
#include "gui/damage_overlay.h"
#include "toolkit/qt/left_pane_tree.h"

namespace lumbra {

namespace {

TreeStage StageOf(TreePaneStage stage) {
    switch (stage) {
        case TreePaneStage::Disks: return TreeStage::Disks;
        case TreePaneStage::Pools: return TreeStage::Pools;
        case TreePaneStage::Volumes: return TreeStage::Volumes;
        case TreePaneStage::Files: return TreeStage::Files;
    }
    return TreeStage::Disks;
}

TreePaneHit HitOf(TreeClickPart part) {
    switch (part) {
        case TreeClickPart::Nowhere: return TreePaneHit::Nowhere;
        case TreeClickPart::Indent: return TreePaneHit::Indent;
        case TreeClickPart::Button: return TreePaneHit::Button;
        case TreeClickPart::Icon: return TreePaneHit::Icon;
        case TreeClickPart::Label: return TreePaneHit::Label;
        case TreeClickPart::RightOfLabel: return TreePaneHit::RightOfLabel;
    }
    return TreePaneHit::Nowhere;
}

// The local files a drag carries; empty when it carries anything else.
QStringList LocalFiles(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        paths << url.toLocalFile();
    }
    return paths;
}

}  // namespace

TreePane::TreePane(TreePaneStage stage, const QString& rootText, QWidget* parent)
    : QObject(parent), tree_(new LeftPaneTree(StageOf(stage), rootText, parent)),
      viewport_(tree_->viewport()), acceptsFiles_(stage == TreePaneStage::Disks) {
    // The wizard names the root; the tree's own name for it is only its default.
    if (QTreeWidgetItem* root = tree_->itemOf(tree_->rootId())) root->setText(0, rootText);
    tree_->hide();
    tree_->setEnabled(false);
    tree_->viewport()->installEventFilter(this);
    tree_->installEventFilter(this);
    // Disk image files dropped onto the disks tree become drives.
    tree_->viewport()->setAcceptDrops(acceptsFiles_);
    if (stage == TreePaneStage::Files)
        tree_->setMarkLook(WithDamageOverlay,
                           QColor(kDamagedRowColour.red, kDamagedRowColour.green, kDamagedRowColour.blue));
}

TreePane::~TreePane() { delete tree_; }

QTreeWidget* TreePane::widget() const { return tree_; }

uint32_t TreePane::rootId() const { return tree_->rootId(); }

uint32_t TreePane::addItem(uint32_t parent, const QString& text) { return tree_->addItem(parent, text); }

std::vector<uint32_t> TreePane::addItems(uint32_t parent, const std::vector<TreePaneEntry>& entries) {
    std::vector<uint32_t> ids;
    ids.reserve(entries.size());
    for (const TreePaneEntry& entry : entries)
        ids.push_back(tree_->addLaterItem(entry.parentEntry < ids.size() ? ids[entry.parentEntry] : parent, entry.text,
                                          entry.damaged));
    tree_->makeShownBranches();
    return ids;
}

QTreeWidgetItem* TreePane::item(uint32_t id) { return tree_->makeItem(id); }

QString TreePane::text(uint32_t id) const { return tree_->itemText(id); }

uint32_t TreePane::idOf(const QTreeWidgetItem* treeItem) const { return tree_->idOf(treeItem); }

uint32_t TreePane::parentOf(uint32_t id) const { return tree_->parentIdOf(id); }

uint32_t TreePane::selectedId() const { return tree_->selectedId(); }

void TreePane::select(uint32_t id) {
    tree_->selectItem(id);
    if (QTreeWidgetItem* found = item(id)) tree_->scrollToItem(found);
}

// The wizard sees every left press as it happened; the tree's own stage rules only select.
bool TreePane::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched == tree_) emit focused();
    if (acceptsFiles_ && watched == viewport_) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!LocalFiles(drag->mimeData()).isEmpty()) drag->acceptProposedAction();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList paths = LocalFiles(drop->mimeData());
            if (paths.isEmpty()) return true;
            drop->acceptProposedAction();
            emit filesDropped(paths);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress && watched == tree_->viewport()) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton) {
            const TreeClick click = tree_->hitTest(press->position().toPoint());
            const uint32_t hit = click.part == TreeClickPart::Nowhere ? 0 : click.itemId;
            // Let the tree handle the press first (focus, branch buttons), then report it.
            tree_->viewport()->removeEventFilter(this);
            QCoreApplication::sendEvent(tree_->viewport(), event);
            tree_->viewport()->installEventFilter(this);
            emit leftClicked(hit, HitOf(click.part));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace lumbra
