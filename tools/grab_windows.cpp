// grab-windows IMAGE OUTPUT_FOLDER [MAPFILE]
// Drives the desktop application's main window through the wizard on a disk image and saves a
// PNG of every step, dialog and menu into OUTPUT_FOLDER, for checking the layout by eye.
// With the image's rescue map, the files on unrescued sectors show as damaged in the list.
// Run it under a display (or QT_QPA_PLATFORM=offscreen).
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <functional>
#include <optional>

#include "app/drive_information.h"
#include "app/file_filters_dialog.h"
#include "app/item_properties.h"
#include "app/recovery_message.h"
#include "recovery/recovery_run.h"
#include "app/session.h"
#include "app/wizard_controller.h"
#include "gui/about_dialog.h"
#include "gui/captioned_values_dialog.h"
#include "gui/client_area.h"
#include "gui/file_filters_window.h"
#include "gui/find_window.h"
#include "gui/main_window.h"
#include "gui/main_window_menus.h"
#include "gui/saving_window.h"
#include "gui/settings_dialog.h"
#include "gui/tree_pane.h"
#include "platform/qt/qt_desktop.h"
#include "toolkit/qt/bitmap_menu.h"
#include "toolkit/qt/group_radio_button.h"
#include "toolkit/qt/message_box.h"
#include "toolkit/qt/bundled_fonts.h"

namespace {

using namespace lumbra;

QString outputFolder;

void Save(QWidget& widget, const QString& name) {
    QApplication::processEvents();
    const QString path = QDir(outputFolder).filePath(name + ".png");
    if (!widget.grab().save(path)) std::fprintf(stderr, "grab-windows: cannot write %s\n", qPrintable(path));
}

// Grabs the next modal window once it is shown, then lets `answer` close it.
void OnNextModal(const QString& name, std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, name, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        Save(*modal, name);
        answer(modal);
    });
    timer->start(20);
}

void ClickItem(MainWindow& window, TreeKind kind, const QString& text) {
    QTreeWidget* tree = window.treeWidget(kind);
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty()) return;
    const QRect rect = tree->visualItemRect(found.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 30, rect.center().y()));
}

bool WaitForStep(const Session& session, WizardStep step) {
    const bool reached = QTest::qWaitFor([&] {
        const bool done = session.wizard.currentStep() == step && !session.wizard.busy();
        QCoreApplication::sendPostedEvents();
        return done;
    }, 300000);
    if (!reached) std::fprintf(stderr, "grab-windows: the wizard did not reach step %d\n", static_cast<int>(step));
    return reached;
}

void GrabMenus(MainWindow& window) {
    int index = 0;
    for (BitmapMenu* menu : window.menuBar()->findChildren<BitmapMenu*>()) {
        menu->popup(window.mapToGlobal(QPoint(10, 10)));
        Save(*menu, QString("menu-%1").arg(++index));
        menu->hide();
    }
    BitmapMenu* list = BuildListMenu(&window, true);
    list->popup(window.mapToGlobal(QPoint(300, 200)));
    Save(*list, "menu-file-list");
    list->close();
    QMenu* windowMenu = window.findChild<ClientArea*>()->windowMenu();
    windowMenu->popup(window.mapToGlobal(QPoint(300, 200)));
    Save(*windowMenu, "menu-window");
    windowMenu->hide();
}

void GrabDialogs(MainWindow& window, Session& session, const WizardController& wizard) {
    SettingsDialog settings(SettingsDialogOpening(session.settings), &window);
    settings.show();
    Save(settings, "dialog-settings");
    FileFiltersDialog rules(session.filters, window);
    FileFiltersWindow filters(rules, &window);
    filters.show();
    Save(filters, "dialog-file-filters");
    // A damaged file's properties when the list shows one, else the first row's.
    std::optional<ItemRow> row = wizard.fileList().row(0);
    for (int index = 0; const std::optional<ItemRow> candidate = wizard.fileList().row(index); ++index)
        if (candidate->damaged) {
            row = candidate;
            break;
        }
    if (row) {
        const auto condition = wizard.ConditionOfRow(*row);
        CaptionedValuesDialog properties(
            PropertiesLook(), ItemProperties(*row, session.records, condition ? ConditionSummary(*condition) : "").rows,
            &window);
        properties.show();
        Save(properties, "dialog-properties");
    }
    CaptionedValuesDialog drive(DriveInformationLook(), DriveInformation(session).rows, &window);
    drive.show();
    Save(drive, "dialog-drive-information");
    AboutDialog about(QString::fromLatin1(kAboutText.data(), static_cast<qsizetype>(kAboutText.size())), &window);
    about.show();
    Save(about, "dialog-about");
    SavingWindow saving(session.savingFlags, &window);
    saving.fileStarted("/home/user/Recovered/Backup 1998/Letters/annual report.doc", "annual report.doc", 41);
    saving.fileProgress(37);
    saving.show();
    Save(saving, "dialog-saving");
    FindWindow find(session.records, &window);
    find.show();
    for (const auto& file : session.records.files()) {
        find.rowFound({file.name, "\\", static_cast<uint32_t>(file.size), file.itemNumber}, 1);
        if (file.itemNumber > 20) break;
    }
    Save(find, "dialog-find");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    lumbra::UseBundledFonts();
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: grab-windows IMAGE OUTPUT_FOLDER [MAPFILE]\n");
        return 2;
    }
    outputFolder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outputFolder);
    Session session(DefaultAccessMode());
    QtDesktop desktop;
    MainWindow window(session, desktop);
    WizardController wizard(session, window, desktop);
    window.attach(wizard);
    DriveSources sources;
    sources.listSystemDisks = false;
    sources.images = {argv[1]};
    if (argc == 4) {
        auto map = ReadRescueMapFile(argv[3]);
        if (const auto* error = std::get_if<RescueMapError>(&map)) {
            std::fprintf(stderr, "grab-windows: %s\n", RescueMapErrorText(argv[3], *error).c_str());
            return 2;
        }
        sources.rescueMaps.emplace_back(0, std::move(std::get<RescueMap>(map)));
    }
    if (!wizard.StartUp(sources, "")) return 1;
    window.show();
    Save(window, "step-0-start");
    ClickItem(window, TreeKind::Drives, "Storage Device0");
    Save(window, "step-0-disk-selected");
    QTest::mouseClick(window.parts().searchPartition, Qt::LeftButton);
    Save(window, "step-0-search-partition");
    QTest::mouseClick(window.parts().next, Qt::LeftButton);
    QTest::qWait(150);
    Save(window, "step-0-scanning");
    if (!WaitForStep(session, WizardStep::StepPools)) return 1;
    ClickItem(window, TreeKind::Pools, "OFFICE");
    Save(window, "step-1-pools");
    OnNextModal("dialog-mode-of-recovery", [](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
    QTest::mouseClick(window.parts().next, Qt::LeftButton);
    ClickItem(window, TreeKind::Volumes, "SHARED");
    Save(window, "step-2-volumes");
    QTest::mouseClick(window.parts().next, Qt::LeftButton);
    QTest::qWait(100);
    Save(window, "step-2-mounting");
    if (!WaitForStep(session, WizardStep::StepBrowse)) return 1;
    Save(window, "step-3-browse");
    // The Icons look of a folder that holds files.
    const QTreeWidgetItem* root = window.treeWidget(TreeKind::Directory)->topLevelItem(0);
    if (root && root->childCount() > 0) ClickItem(window, TreeKind::Directory, root->child(0)->text(0));
    wizard.OnCommand(Command::IconsView);
    Save(window, "step-3-icons");
    wizard.OnCommand(Command::DetailsView);
    // The folder of the first damaged file, with that file marked in the list.
    for (const ItemRecord& file : session.records.files()) {
        if (ConditionOfFile(*session.reader, session.selectedPool, file).kind != ConditionKind::Damaged) continue;
        for (const ItemRecord& folder : session.records.folders())
            if (folder.objectId == file.parentId) ClickItem(window, TreeKind::Directory, QString::fromLatin1(folder.name.c_str()));
        Save(window, "step-3-browse-damaged");
        break;
    }
    OnNextModal("dialog-message", [](QWidget* modal) { static_cast<MarkupMessageBox*>(modal)->press(message_box::kOk); });
    window.ShowMessage(MessageKind::Information, "No volumes found. \r\nPlease select the pool based recovery.");
    RecoveryRunResult run;
    run.summary.saved = 412;
    run.summary.skipped = 3;
    run.summary.empty = 1;
    run.summary.failed = 1;
    run.damaged = 2;
    run.cutShort = 1;
    run.report = ReportPaths{"/home/user/Recovered/lumbra-report.xml", "/home/user/Recovered/lumbra-report.csv"};
    OnNextModal("dialog-recovery-done", [](QWidget* modal) { static_cast<MarkupMessageBox*>(modal)->press(message_box::kOk); });
    window.ShowMessage(MessageKind::Information, RecoveryRunMessage(run, "/home/user/Recovered"));
    GrabMenus(window);
    GrabDialogs(window, session, wizard);
    std::printf("grab-windows: pictures written to %s\n", qPrintable(outputFolder));
    return 0;
}
