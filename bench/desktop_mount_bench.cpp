// The desktop over the 1,000,000-file scale volume: the partition table, the pool, volume-based
// recovery, the volume and the mount, as a user walks them. Prints the time from Next to the
// browse step shown against the core's own mount of the same volume, and fails when the
// browse step is not reached with the directory tree and the list shown, or when the desktop
// takes more than three times the core's time.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "app/session.h"
#include "app/wizard_controller.h"
#include "disk/device_sector_reader.h"
#include "discovery/pool_listing.h"
#include "gui/file_list_view.h"
#include "gui/main_window.h"
#include "platform/qt/qt_desktop.h"
#include "recovery/volume_mount.h"
#include "scale_volume.h"
#include "toolkit/qt/bundled_fonts.h"

namespace {

using namespace lumbra;

void Click(MainWindow& window, TreeKind kind, const QString& text) {
    QTreeWidget* tree = window.treeWidget(kind);
    const auto found = tree ? tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive) : QList<QTreeWidgetItem*>();
    if (found.isEmpty()) return;
    tree->scrollToItem(found.first());
    const QRect rect = tree->visualItemRect(found.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + tree->iconSize().width() + 8, rect.center().y()));
}

// Runs the event loop as the application does, so that the worker's calls are served at once.
bool WaitFor(const Session& session, WizardStep step, int seconds) {
    QEventLoop loop;
    QTimer poll;
    bool reached = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        reached = session.wizard.currentStep() == step && !session.wizard.busy();
        if (reached) loop.quit();
    });
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    poll.start(100);
    loop.exec();
    QCoreApplication::sendPostedEvents();
    return reached;
}

double CoreMountSeconds(const test::NssImage& image) {
    DeviceSectorReader reader(image.device());
    PoolTable pools;
    ListPoolsFromPartitionTable(reader, pools);
    const SelectedPool pool = *SelectPool(pools, 0);
    BlockQueue queue;
    RecoveredTree tree;
    NoMountEvents events;
    std::atomic<int32_t> stop{0};
    QElapsedTimer clock;
    clock.start();
    MountContext context{reader, pool, queue, tree, events, stop};
    MountVolume(context, {.recoveryMode = 1, .rootSector = image.pools().at(0).volumes.at(0).rootSector});
    return double(clock.elapsed()) / 1000;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UseBundledFonts();
    const std::string path =
        (std::filesystem::temp_directory_path() / ("lumbra_scale_" + std::to_string(getpid()) + ".img")).string();
    double core = 0;
    {
        const test::NssImage image =
            test::NssImageBuilder().pool({.name = "BENCH", .volumes = {bench::ScaleVolume(1'000'000)}}).build();
        image.writeTo(path);
        core = CoreMountSeconds(image);
    }
    Session session(DefaultAccessMode());
    QtDesktop desktop;
    MainWindow window(session, desktop);
    WizardController wizard(session, window, desktop);
    window.attach(wizard);
    wizard.StartUp(DriveSources{.listSystemDisks = false, .images = {path}}, "");
    window.show();
    Click(window, TreeKind::Drives, "Storage Device0");
    QTest::mouseClick(window.parts().next, Qt::LeftButton);
    Click(window, TreeKind::Pools, "BENCH");
    // Volume-based recovery is preselected in the dialog that Next opens.
    QTimer::singleShot(200, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
    });
    QTest::mouseClick(window.parts().next, Qt::LeftButton);
    Click(window, TreeKind::Volumes, "SCALE");
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(window.parts().next, Qt::LeftButton);
    const bool reached = WaitFor(session, WizardStep::StepBrowse, 600);
    const double desktopSeconds = double(clock.elapsed()) / 1000;
    QTreeWidget* tree = window.treeWidget(TreeKind::Directory);
    const bool shown = reached && tree && tree->isVisible() && tree->isEnabled() && window.fileList().isVisible();
    std::filesystem::remove(path);
    std::printf("1,000,000 files: core mount %.1f s, desktop from Next to the browse step %.1f s, %zu folders and %zu "
                "files; browse step shown: %s\n",
                core, desktopSeconds, session.records.folders().size(), session.records.files().size(),
                shown ? "yes" : "no");
    const double ratio = desktopSeconds / core;
    std::printf("desktop / core = %.2f (target <= 3)\n", ratio);
    return shown && ratio <= 3.0 ? 0 : 1;
}
