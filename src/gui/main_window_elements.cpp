// The named elements of the View: show, hide, enable, texts, checks and focus.
#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTreeWidget>

#include "gui/file_list_view.h"
#include "gui/gui_thread.h"
#include "gui/latin1.h"
#include "gui/main_window.h"
#include "gui/main_window_menus.h"
#include "gui/tree_pane.h"
#include "toolkit/qt/group_radio_button.h"
#include "toolkit/qt/progress_bar.h"
#include "toolkit/qt/round_group_box.h"
#include "toolkit/qt/transparent_label.h"

namespace lumbra {

namespace {

// The key of the progress bar's calls among those that show only the latest value; the
// elements' texts use the element's number.
constexpr uint32_t kProgressCallKey = 0x10000;

std::optional<TreeKind> TreeOfElement(Element element) {
    switch (element) {
        case Element::DriveTree: return TreeKind::Drives;
        case Element::PoolTree: return TreeKind::Pools;
        case Element::VolumeTree: return TreeKind::Volumes;
        case Element::DirectoryTree: return TreeKind::Directory;
        default: return std::nullopt;
    }
}

}  // namespace

QWidget* MainWindow::element(Element element) const {
    if (const auto kind = TreeOfElement(element)) return treeWidget(*kind);
    const MainWindowParts& p = parts_;
    const int index = static_cast<int>(element);
    if (element >= Element::InfoCaption1 && element <= Element::InfoCaption5)
        return p.captions[static_cast<size_t>(index - static_cast<int>(Element::InfoCaption1))];
    if (element >= Element::InfoValue1 && element <= Element::InfoValue5)
        return p.values[static_cast<size_t>(index - static_cast<int>(Element::InfoValue1))];
    switch (element) {
        case Element::StatusLine: return p.statusLine;
        case Element::IdentifyFrame: return p.identifyFrame;
        case Element::IdentifyCaption: return p.identifyCaption;
        case Element::UsePartitionTable: return p.usePartitionTable;
        case Element::SearchPartition: return p.searchPartition;
        case Element::HelpButtonA: return p.helpA;
        case Element::RangeCaption: return p.rangeCaption;
        case Element::RangeFrame: return p.rangeFrame;
        case Element::StartCaption: return p.startCaption;
        case Element::EndCaption: return p.endCaption;
        case Element::StartField: return p.startField;
        case Element::EndField: return p.endField;
        case Element::HelpButtonB: return p.helpB;
        case Element::BackButton: return p.back;
        case Element::NextButton: return p.next;
        case Element::StopButton: return p.stop;
        case Element::ProgressBar: return p.progress;
        case Element::FileList: return p.fileList;
        case Element::ProgressEstimate: return p.progressEstimate;
        default: return nullptr;
    }
}

void MainWindow::applyVisible(Element which, bool visible) {
    if (QWidget* widget = element(which)) widget->setVisible(visible);
}

void MainWindow::applyEnabled(Element which, bool enabled) {
    if (QWidget* widget = element(which)) widget->setEnabled(enabled);
}

void MainWindow::applyText(Element which, const QString& text) {
    QWidget* widget = element(which);
    if (auto* label = qobject_cast<TransparentLabel*>(widget)) label->setText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(widget)) line->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(text);
}

QString MainWindow::currentText(Element which) const {
    QWidget* widget = element(which);
    if (auto* label = qobject_cast<TransparentLabel*>(widget)) return label->text();
    if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    return {};
}

void MainWindow::Show(Element which) {
    calls_.run([this, which] { applyVisible(which, true); });
}

void MainWindow::Hide(Element which) {
    calls_.run([this, which] { applyVisible(which, false); });
}

void MainWindow::Enable(Element which) {
    calls_.run([this, which] { applyEnabled(which, true); });
}

void MainWindow::Disable(Element which) {
    calls_.run([this, which] { applyEnabled(which, false); });
}

void MainWindow::SetText(Element which, std::string_view text) {
    // Converted on the GUI thread: a text that a later one replaces is never converted.
    calls_.runLatest(static_cast<uint32_t>(which),
                     [this, which, text = std::string(text)] { applyText(which, StaticText(text)); });
}

std::string MainWindow::Text(Element which) const {
    return calls_.answer([this, which] { return ToLatin1(currentText(which)); });
}

void MainWindow::SetChecked(Element which, bool checked) {
    calls_.run([this, which, checked] {
        if (auto* button = qobject_cast<QAbstractButton*>(element(which))) button->setChecked(checked);
    });
}

void MainWindow::Focus(Element which) {
    calls_.run([this, which] {
        QWidget* widget = element(which);
        if (which == Element::FileList) widget = parts_.fileList->activeView();
        if (widget) widget->setFocus(Qt::OtherFocusReason);
    });
}

void MainWindow::SetProgress(uint32_t percent) {
    calls_.runLatest(kProgressCallKey,
                     [this, percent] { parts_.progress->setPosition(static_cast<int>(std::min<uint32_t>(percent, 100))); });
}

void MainWindow::SetQuickHelp(std::string_view text) {
    calls_.run([this, shown = StaticText(text)] { parts_.quickHelp->setText(shown); });
}

void MainWindow::SetCommandEnabled(Command command, bool enabled) {
    calls_.run([this, command, enabled] { SetMenuCommandEnabled(*menuBar_, static_cast<int>(command), enabled); });
}

}  // namespace lumbra
