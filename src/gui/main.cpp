// lumbra-nss: the desktop application. Options: --image PATH (repeatable), --no-drives,
// --access-mode=N|F, --help.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "app/session.h"
#include "app/wizard_controller.h"
#include "gui/main_window.h"
#include "platform/application_directory.h"
#include "platform/qt/qt_desktop.h"

namespace {

struct Options {
    lumbra::AccessMode mode = lumbra::DefaultAccessMode();
    lumbra::DriveSources sources;
};

std::optional<Options> ParseOptions(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Corvalt Lumbra Novell NSS: recovers files from NSS pools and volumes.");
    parser.addHelpOption();
    const QCommandLineOption image("image", "Adds a disk image file as a drive (repeatable).", "PATH");
    const QCommandLineOption noDrives("no-drives", "Lists no drives of the system, only the images.");
    const QCommandLineOption accessMode("access-mode", "N: the system's devices (default); F: the BIOS disk libraries.",
                                        "N|F", "N");
    parser.addOptions({image, noDrives, accessMode});
    parser.process(app);
    Options options;
    const QString mode = parser.value(accessMode).toUpper();
    if (mode != "N" && mode != "F") {
        std::fprintf(stderr, "lumbra-nss: --access-mode takes N or F\n");
        return std::nullopt;
    }
    options.mode = mode == "F" ? lumbra::AccessMode::F : lumbra::AccessMode::N;
    options.sources.listSystemDisks = !parser.isSet(noDrives);
    for (const QString& path : parser.values(image)) options.sources.images.push_back(path.toLocal8Bit().toStdString());
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("lumbra-nss");
    const std::optional<Options> options = ParseOptions(app);
    if (!options) return 2;
    lumbra::Session session(options->mode);
    lumbra::QtDesktop desktop;
    lumbra::MainWindow window(session, desktop);
    desktop.setDialogParent(&window);
    lumbra::WizardController wizard(session, window, desktop);
    window.attach(wizard);
    if (!wizard.StartUp(options->sources, lumbra::ExecutableDirectory())) return 0;
    window.show();
    const int code = QApplication::exec();
    // A worker still running at the end is not waited for.
    if (session.wizard.busy()) desktop.EndProcess(code);
    return code;
}
