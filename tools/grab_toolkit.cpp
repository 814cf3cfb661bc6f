// Saves PNG pictures of the markup message box and of the help-button tooltip, to check their
// look without a desktop: QT_QPA_PLATFORM=offscreen grab-toolkit <output folder>
// With --keep-open FILE after the folder, the window and its last tooltip stay on the screen
// after "shown" is printed, until FILE exists: a compositor's screenshot then shows them.
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <vector>

#include "toolkit/markup_escape.h"
#include "toolkit/qt/app_messages.h"
#include "toolkit/qt/help_tool_tips.h"
#include "toolkit/qt/message_box.h"
#include "toolkit/qt/bundled_fonts.h"

namespace {

bool Save(QWidget& widget, const QString& path) {
    widget.show();
    QApplication::processEvents();
    const bool saved = widget.grab().save(path);
    std::printf("%s %s (%dx%d)\n", saved ? "wrote" : "could not write", qPrintable(path), widget.width(),
                widget.height());
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    lumbra::UseBundledFonts();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);
    bool ok = true;

    const lumbra::MessageBoxParams params = lumbra::ApplicationMessageParams();
    lumbra::MarkupMessageBox box(nullptr, "No Pool Found  !! \r\nSelect Search Partition and than Click Next.",
                                 lumbra::kApplicationMessageCaption,
                                 lumbra::MessageStyleOfKind(lumbra::kMessageInformation), params);
    ok = Save(box, folder + "/message_box.png") && ok;

    lumbra::MarkupMessageBox question(nullptr, "Do you want to stop the current process ?",
                                      lumbra::kApplicationMessageCaption,
                                      lumbra::MessageStyleOfKind(lumbra::kMessageQuestion) | 4, params);
    ok = Save(question, folder + "/message_box_question.png") && ok;

    // The question asked when a recovered file cannot be created, for a name that is markup.
    lumbra::MarkupMessageBox creation(
        nullptr, lumbra::EscapeMarkup("Error creating file : /mnt/out/<hr width=999999999px>.  Continue Recovery ? "),
        lumbra::kApplicationMessageCaption, lumbra::MessageStyleOfKind(lumbra::kMessageError) | 4, params);
    ok = Save(creation, folder + "/message_box_hostile_name.png") && ok;

    QWidget window;
    window.resize(700, 500);
    QPushButton helpA("?", &window);
    helpA.setGeometry(400, 330, 18, 20);
    QPushButton helpB("?", &window);
    helpB.setGeometry(620, 330, 18, 20);
    window.show();
    QApplication::processEvents();
    const struct {
        QPushButton* button;
        lumbra::HelpButton which;
        const char* file;
    } tips[] = {{&helpA, lumbra::HelpButton::VolumeIdentify, "/help_tooltip_a.png"},
                {&helpB, lumbra::HelpButton::ScanRange, "/help_tooltip_b.png"}};
    std::vector<std::unique_ptr<lumbra::MarkupToolTip>> shown;
    for (const auto& t : tips) {
        shown.push_back(lumbra::CreateHelpToolTip(&window, t.button, t.which));
        shown.back()->showTool(0, t.button->mapToGlobal(t.button->rect().center()));
        ok = Save(*shown.back(), folder + t.file) && ok;
        if (&t != &tips[1]) shown.back()->hideTip();
    }
    if (argc > 3 && QString::fromLocal8Bit(argv[2]) == QLatin1String("--keep-open")) {
        const QString release = QString::fromLocal8Bit(argv[3]);
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, &app, [&] {
            if (QFile::exists(release)) QApplication::exit(0);
        });
        check.start(100);
        QTimer::singleShot(0, &app, [] {
            std::printf("shown\n");
            std::fflush(stdout);
        });
        app.exec();
    }
    return ok ? 0 : 1;
}
