#include "gui/latin1.h"
#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QStyle>

#include "app/command_table.h"
#include "toolkit/qt/pictures.h"
#include "gui/busy_cursor.h"
#include "gui/client_area.h"
#include "gui/file_list_view.h"
#include "gui/tree_pane.h"
#include "gui/main_window_menus.h"
#include "toolkit/qt/group_radio_button.h"
#include "toolkit/qt/help_tool_tips.h"

namespace lumbra {

namespace {

QIcon ApplicationIcon(const QWidget& window) {
    const QPixmap picture = Picture("app_icon");
    return picture.isNull() ? window.style()->standardIcon(QStyle::SP_DriveHDIcon) : QIcon(picture);
}

std::optional<Key> WizardKey(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_F1: return Key::F1;
        // Shift+Tab moves the focus too, so it follows the same rule.
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return Key::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return Key::Enter;
        case Qt::Key_Escape: return Key::Escape;
        case Qt::Key_Menu: return Key::ContextMenu;
        case Qt::Key_F2: return Key::F2;
        default: return std::nullopt;
    }
}

TreeHitPart WizardHitPart(TreePaneHit part) {
    switch (part) {
        case TreePaneHit::Nowhere: return TreeHitPart::Nowhere;
        case TreePaneHit::Indent: return TreeHitPart::Indent;
        case TreePaneHit::Button: return TreeHitPart::Button;
        case TreePaneHit::Icon: return TreeHitPart::Icon;
        case TreePaneHit::Label: return TreeHitPart::Label;
        case TreePaneHit::RightOfLabel: return TreeHitPart::RightOfLabel;
    }
    return TreeHitPart::Other;
}

}  // namespace

MainWindow::MainWindow(Session& session, Desktop& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      session_(session),
      desktop_(desktop),
      units_(DialogFont()),
      menuBar_(new QMenuBar(this)) {
    setObjectName("MainWindow");
    setFont(DialogFont());
    setWindowTitle("Corvalt Lumbra Novell NSS");
    setWindowIcon(ApplicationIcon(*this));
    BuildMenuBar(*menuBar_);
    auto* client = new ClientArea(this);
    const int menuHeight = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, units_.x(kClientWidth), menuHeight);
    client->setGeometry(0, menuHeight, units_.x(kClientWidth), units_.y(kClientHeight));
    setFixedSize(units_.x(kClientWidth), menuHeight + units_.y(kClientHeight));
    parts_ = BuildMainWindowParts(*client, units_);
    helpTipA_ = CreateHelpToolTip(this, parts_.helpA, HelpButton::VolumeIdentify);
    helpTipB_ = CreateHelpToolTip(this, parts_.helpB, HelpButton::ScanRange);
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::attach(WizardController& controller) {
    controller_ = &controller;
    connectControls();
    ConnectMenuBar(*menuBar_, controller);
}

void MainWindow::connectControls() {
    WizardController& wizard = *controller_;
    // Every step the user starts may block the window a while.
    auto step = [this](auto&& action) {
        return [action] {
            ShowBusyUntilIdle();
            action();
        };
    };
    for (int button = 1; button <= kToolbarButtons; ++button)
        connect(parts_.toolbar[static_cast<size_t>(button - 1)], &QAbstractButton::clicked, this,
                step([&wizard, button] { wizard.OnToolbarButton(button); }));
    connect(parts_.homePage, &QAbstractButton::clicked, this, [&wizard] { wizard.OnHomePageButton(); });
    connect(parts_.usePartitionTable, &QRadioButton::clicked, this,
            [&wizard] { wizard.OnIdentifyOption(kUsePartitionTable); });
    connect(parts_.searchPartition, &QRadioButton::clicked, this,
            [&wizard] { wizard.OnIdentifyOption(kSearchPartition); });
    connect(parts_.back, &QAbstractButton::clicked, this, step([&wizard] { wizard.OnBack(); }));
    connect(parts_.next, &QAbstractButton::clicked, this, step([&wizard] { wizard.OnNext(); }));
    connect(parts_.stop, &QAbstractButton::clicked, this, [&wizard] { wizard.OnStop(); });
    connect(static_cast<ClientArea*>(parts_.client), &ClientArea::aboutChosen, this,
            [&wizard] { wizard.OnCommand(Command::SystemAbout); });
    FileListView* list = parts_.fileList;
    connect(list, &FileListView::rowDoubleClicked, this, step([&wizard] { wizard.OnListDoubleClick(); }));
    connect(list, &FileListView::rightClicked, this, [&wizard] { wizard.OnListRightClick(); });
    connect(list, &FileListView::focused, this, [&wizard] { wizard.OnListFocused(); });
    list->setEditApproval([&wizard](int row) { return wizard.OnListEditStarting(row); });
    connect(list, &FileListView::editEnded, this, [&wizard](int, std::optional<QString> text) {
        wizard.EndRename(text ? std::optional<std::string>(ToLatin1(*text)) : std::nullopt);
    });
}

void MainWindow::connectTree(TreeKind kind, TreePane* tree) {
    WizardController* wizard = controller_;
    if (!wizard) return;
    connect(tree, &TreePane::leftClicked, this, [wizard](uint32_t item, TreePaneHit part) {
        ShowBusyUntilIdle();
        wizard->OnLeftTreeClick(item, WizardHitPart(part));
    });
    if (kind == TreeKind::Directory) connect(tree, &TreePane::focused, this, [wizard] { wizard->OnTreeFocused(); });
    if (kind == TreeKind::Drives) {
        connect(tree, &TreePane::filesDropped, this, [wizard](const QStringList& paths) {
            for (const QString& path : paths) wizard->OnImageDropped(path.toLocal8Bit().toStdString());
        });
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (controller_ && !controller_->OnCloseRequest()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !controller_) return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only keys meant for this window; its dialogs and menus have their own rules.
    if (!widget || widget->window() != this || QApplication::activePopupWidget()) return false;
    return filterKey(static_cast<QKeyEvent*>(event));
}

bool MainWindow::filterKey(QKeyEvent* event) {
    const std::optional<Key> key = WizardKey(*event);
    if (!key) return false;
    ShowBusyUntilIdle();
    return controller_->FilterKey(*key) == KeyAction::Consumed;
}

}  // namespace lumbra
