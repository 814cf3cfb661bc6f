#include "gui/gui_harness.h"

#include <QAbstractButton>
#include <QTreeWidgetItemIterator>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

#include "gui/file_list_model.h"
#include "gui/file_list_view.h"
#include "toolkit/message_box_params.h"
#include "toolkit/qt/message_box.h"
#include "support/demo_image.h"
#include "support/nss_image_builder.h"
#include "toolkit/qt/bitmap_menu.h"

namespace lumbra::test {

const NssImage& DemoImage() {
    static const NssImage image = buildImage(demoImagePlan());
    return image;
}

namespace {

// The image file, removed when the test program ends.
struct DemoImageFile {
    DemoImageFile() : path((std::filesystem::temp_directory_path() / ("lumbra_gui_demo_" + std::to_string(getpid()) + ".img")).string()) {
        DemoImage().writeTo(path);
    }
    ~DemoImageFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    std::string path;
};

}  // namespace

const std::string& DemoImagePath() {
    static const DemoImageFile file;
    return file.path;
}

ModalAnswerer::ModalAnswerer() {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start();
}

void ModalAnswerer::poll() {
    QWidget* modal = QApplication::activePopupWidget();
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

MainWindowHarness::MainWindowHarness() {
    desktop.temporaryFolder = std::filesystem::temp_directory_path().string() + "/";
    window = std::make_unique<MainWindow>(session, desktop);
    wizard = std::make_unique<WizardController>(session, *window, desktop);
    window->attach(*wizard);
    DriveSources sources;
    sources.listSystemDisks = false;
    sources.images = {DemoImagePath()};
    wizard->StartUp(sources, "");
    window->show();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

MainWindowHarness::~MainWindowHarness() {
    // A stopped worker still reports to the window: let it finish before the window goes.
    session.wizard.stopRequested = 1;
    const bool ended = QTest::qWaitFor([this] { return !session.wizard.busy(); }, 60000);
    EXPECT_TRUE(ended);
    // The worker's last calls after it cleared the busy flag.
    QTest::qWait(20);
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

}  // namespace lumbra::test
