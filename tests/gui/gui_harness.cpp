#include "gui/gui_harness.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QTreeWidgetItemIterator>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <QTest>
#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

#include "gui/file_list_model.h"
#include "gui/file_list_view.h"
#include "toolkit/message_box_params.h"
#include "toolkit/qt/message_box.h"
#include "support/demo_image.h"
#include "support/nss_image_builder.h"
#include "support/scratch_folder.h"
#include "toolkit/qt/bitmap_menu.h"
#include "toolkit/qt/group_radio_button.h"

namespace lumbra::test {

namespace {

std::vector<std::string> recordedWarnings;
QtMessageHandler previousHandler = nullptr;

void RecordWarning(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg) recordedWarnings.push_back(message.toStdString());
    if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

QtWarningLog::QtWarningLog() {
    recordedWarnings.clear();
    previousHandler = qInstallMessageHandler(RecordWarning);
}

QtWarningLog::~QtWarningLog() { qInstallMessageHandler(previousHandler); }

const std::vector<std::string>& QtWarningLog::warnings() const { return recordedWarnings; }

const NssImage& DemoImage() {
    static const NssImage image = buildImage(demoImagePlan());
    return image;
}

namespace {

// The demo image and the desktop's temporary folder of every harness, removed when the test
// program ends.
const ScratchFolder& GuiScratch() {
    static const ScratchFolder folder("gui");
    return folder;
}

}  // namespace

const std::string& DemoImagePath() {
    static const std::string path = [] {
        const std::string file = GuiScratch().file("demo.img");
        DemoImage().writeTo(file);
        return file;
    }();
    return path;
}

ModalAnswerer::ModalAnswerer() {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start();
}

void ModalAnswerer::poll() {
    QWidget* modal = QApplication::activePopupWidget();
    // A file dialog's completion list pops up by itself once the dialog has read its folder,
    // which a loaded machine may do only after a name was typed: it is no question to answer.
    if (qobject_cast<QAbstractItemView*>(modal)) modal = nullptr;
    if (!modal) modal = QApplication::activeModalWidget();
    if (!modal || handlers_.empty() || modal->property("answered").toBool() || !modal->isVisible()) return;
    modal->setProperty("answered", true);
    Handler handler = std::move(handlers_.front());
    handlers_.pop_front();
    handler(modal);
}

ModalAnswerer::Handler ModalAnswerer::press(int button) {
    return [this, button](QWidget* widget) {
        auto* box = qobject_cast<MarkupMessageBox*>(widget);
        ASSERT_NE(box, nullptr) << "expected a message box, got " << widget->objectName().toStdString();
        captions_.push_back(box->windowTitle().toStdString());
        texts_.push_back(box->text());
        box->press(button);
    };
}

ModalAnswerer::Handler ModalAnswerer::pressYes() { return press(message_box::kYes); }
ModalAnswerer::Handler ModalAnswerer::pressNo() { return press(message_box::kNo); }
ModalAnswerer::Handler ModalAnswerer::pressOk() { return press(message_box::kOk); }

ModalAnswerer::Handler ChooseFile(const QString& objectName, const std::string& path) {
    return [objectName, path](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), objectName);
        const std::filesystem::path chosen(path);
        dialog->setDirectory(QString::fromStdString(chosen.parent_path().string()));
        dialog->selectFile(QString::fromStdString(chosen.filename().string()));
        // Queued: a question the dialog asks on accepting is answered by the next handler.
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    };
}

MainWindowHarness::MainWindowHarness() {
    desktop.temporaryFolder = GuiScratch().file("temp") + "/";
    std::filesystem::create_directories(desktop.temporaryFolder);
    window = std::make_unique<MainWindow>(session, desktop);
    wizard = std::make_unique<WizardController>(session, *window, desktop);
    window->attach(*wizard);
    DriveSources sources;
    sources.listSystemDisks = false;
    sources.images = {DemoImagePath()};
    wizard->StartUp(sources, "");
    window->show();
    EXPECT_TRUE(activate());
}

bool MainWindowHarness::activate() {
    QApplication::setActiveWindow(window.get());
    return QTest::qWaitForWindowActive(window.get());
}

bool MainWindowHarness::focusFileList() {
    if (!activate()) return false;
    window->fileList().detailsView()->setFocus();
    return true;
}

MainWindowHarness::~MainWindowHarness() {
    // A stopped worker still reports to the window: let it finish before the window goes. Its
    // last calls may wait for this thread, so another thread waits for its end while this one
    // keeps running them.
    session.wizard.stopRequested = 1;
    std::atomic<bool> ended = false;
    std::thread waiter([this, &ended] {
        wizard->WaitForWorker();
        ended = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&ended] { return ended.load(); }, kEventLimitMs));
    waiter.join();
    QCoreApplication::sendPostedEvents();
    wizard.reset();
}

void MainWindowHarness::clickTreeItem(TreeKind kind, const QString& text) {
    QTreeWidget* tree = window->treeWidget(kind);
    ASSERT_NE(tree, nullptr);
    const QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_FALSE(found.isEmpty()) << "no tree item " << text.toStdString();
    tree->scrollToItem(found.first());
    const QRect rect = tree->visualItemRect(found.first());
    const QPoint onLabel(rect.left() + tree->iconSize().width() + 8, rect.center().y());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, onLabel);
}

void MainWindowHarness::clickNext() {
    ASSERT_TRUE(window->parts().next->isVisible() && window->parts().next->isEnabled());
    QTest::mouseClick(window->parts().next, Qt::LeftButton);
}

void MainWindowHarness::clickBack() {
    ASSERT_TRUE(window->parts().back->isVisible() && window->parts().back->isEnabled());
    QTest::mouseClick(window->parts().back, Qt::LeftButton);
}

void MainWindowHarness::chooseCommand(Command command) {
    for (BitmapMenu* menu : window->menuBar()->findChildren<BitmapMenu*>()) {
        if (QAction* action = menu->actionOfCommand(static_cast<int>(command))) {
            ASSERT_TRUE(action->isEnabled()) << "command " << static_cast<int>(command) << " is greyed";
            action->trigger();
            return;
        }
    }
    FAIL() << "no menu command " << static_cast<int>(command);
}

bool MainWindowHarness::waitForStep(WizardStep step, int milliseconds) {
    return QTest::qWaitFor(
        [&] {
            // Whatever the worker posted before it finished is applied before the answer counts.
            const bool reached = session.wizard.currentStep() == step && !session.wizard.busy();
            QCoreApplication::sendPostedEvents();
            return reached;
        },
        milliseconds);
}

QStringList MainWindowHarness::treeTexts(TreeKind kind) const {
    QStringList texts;
    QTreeWidget* tree = window->treeWidget(kind);
    if (!tree) return texts;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) texts << (*it)->text(0);
    return texts;
}

int MainWindowHarness::listRows() const {
    window->fileList().model().flush();
    return window->fileList().model().rowCount();
}

QString MainWindowHarness::listCell(int row, int column) const { return window->fileList().model().cell(row, column); }

int MainWindowHarness::firstRow(bool folder) const {
    for (int row = 0; row < listRows(); ++row)
        if (listCell(row, 1).endsWith("Folder") == folder) return row;
    return -1;
}

namespace {

// Checks the recovery basis's radio button and presses OK.
ModalAnswerer::Handler ChooseMode(bool poolBased) {
    return [poolBased](QWidget* widget) {
        ASSERT_EQ(widget->objectName(), "ModeOfRecoveryDialog");
        widget->findChild<GroupRadioButton*>(poolBased ? "PoolBased" : "VolumeBased")->click();
        QApplication::processEvents();
        qobject_cast<QDialog*>(widget)->accept();
    };
}

}  // namespace

void WalkToBrowse(MainWindowHarness& h, const QString& pool, bool poolBased, const QString& volume) {
    h.clickTreeItem(TreeKind::Pools, pool);
    h.answers.expect(ChooseMode(poolBased));
    h.clickNext();
    ASSERT_EQ(h.session.wizard.currentStep(), WizardStep::StepVolumes);
    EXPECT_TRUE(h.window->treeWidget(TreeKind::Volumes)->isVisible());
    h.clickTreeItem(TreeKind::Volumes, volume);
    h.clickNext();
    ASSERT_TRUE(h.waitForStep(WizardStep::StepBrowse));
    EXPECT_TRUE(h.window->fileList().isVisible());
    EXPECT_TRUE(h.window->treeWidget(TreeKind::Directory)->isVisible());
    EXPECT_TRUE(h.window->treeWidget(TreeKind::Directory)->isEnabled());
    EXPECT_GT(h.listRows(), 0);
}

}  // namespace lumbra::test
