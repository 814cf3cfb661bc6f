// lumbra-nss: the desktop application. Options: --image PATH (repeatable), --no-drives,
// --access-mode=N|F, --help, --version.
#include <QApplication>
#include <QCommandLineParser>
#include <QRegularExpression>
#include <cstdio>
#include <variant>

#include "app/drive_information.h"
#include "app/session.h"
#include "app/wizard_controller.h"
#include "gui/main_window.h"
#include "platform/application_directory.h"
#include "platform/qt/qt_desktop.h"
#include "toolkit/qt/bundled_fonts.h"

namespace {

struct Options {
    lumbra::AccessMode mode = lumbra::DefaultAccessMode();
    lumbra::DriveSources sources;
};

// The exit status of a command line that is answered without opening a window.
using ParseResult = std::variant<Options, int>;

// Reads the command line before any window system is touched, so that --help, --version and
// a bad option answer on a terminal without a display.
ParseResult ParseOptions(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription("Corvalt Lumbra Novell NSS: recovers files from NSS pools and volumes.");
    const QCommandLineOption help({"h", "help"}, "Shows this help and exits.");
    const QCommandLineOption version("version", "Shows the program's version and exits.");
    const QCommandLineOption image("image", "Adds a disk image file as a drive (repeatable).", "PATH");
    const QCommandLineOption noDrives("no-drives", "Lists no drives of the system, only the images.");
    const QCommandLineOption accessMode("access-mode", "N: the system's devices (default); F: the BIOS disk libraries.",
                                        "N|F", "N");
    parser.addOptions({help, version, image, noDrives, accessMode});
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "lumbra-nss: %s\nTry 'lumbra-nss --help'.\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(help)) {
        const QString usage = parser.helpText().replace(QRegularExpression("^Usage: \\S+"), "Usage: lumbra-nss");
        std::fputs(qPrintable(usage), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%.*s\n", static_cast<int>(lumbra::kAboutText.size()), lumbra::kAboutText.data());
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "lumbra-nss: unexpected argument '%s'\nTry 'lumbra-nss --help'.\n",
                     qPrintable(parser.positionalArguments().first()));
        return 2;
    }
    Options options;
    const QString mode = parser.value(accessMode).toUpper();
    if (mode != "N" && mode != "F") {
        std::fprintf(stderr, "lumbra-nss: --access-mode takes N or F\n");
        return 2;
    }
    options.mode = mode == "F" ? lumbra::AccessMode::F : lumbra::AccessMode::N;
    options.sources.listSystemDisks = !parser.isSet(noDrives);
    for (const QString& path : parser.values(image)) options.sources.images.push_back(path.toLocal8Bit().toStdString());
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const ParseResult parsed = ParseOptions(argc, argv);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const Options& options = std::get<Options>(parsed);
    QApplication app(argc, argv);
    QApplication::setApplicationName("lumbra-nss");
    lumbra::UseBundledFonts();
    lumbra::Session session(options.mode);
    lumbra::QtDesktop desktop;
    lumbra::MainWindow window(session, desktop);
    desktop.setDialogParent(&window);
    lumbra::WizardController wizard(session, window, desktop);
    window.attach(wizard);
    if (!wizard.StartUp(options.sources, lumbra::ExecutableDirectory())) return 0;
    window.show();
    const int code = QApplication::exec();
    // A worker still running at the end is not waited for.
    if (session.wizard.busy()) desktop.EndProcess(code);
    return code;
}
