// lumbra-nss: the desktop application. Options: --image PATH (repeatable) [--mapfile MAP], --no-drives,
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

// Pairs each --mapfile with the --image before it (the parser keeps the order the options came
// in) and reads the maps; false after a message.
bool ReadRescueMaps(const QCommandLineParser& parser, lumbra::DriveSources& sources) {
    const QStringList images = parser.values("image");
    const QStringList maps = parser.values("mapfile");
    qsizetype imageIndex = 0;
    qsizetype mapIndex = 0;
    bool imageOpen = false;
    for (const QString& name : parser.optionNames()) {
        if (name == "image") {
            ++imageIndex;
            imageOpen = true;
        } else if (name == "mapfile") {
            const std::string map = maps.value(mapIndex++).toLocal8Bit().toStdString();
            if (!imageOpen) {
                std::fprintf(stderr, "lumbra-nss: --mapfile MAP follows the --image PATH it belongs to\n");
                return false;
            }
            imageOpen = false;
            auto parsed = lumbra::ReadRescueMapFile(map);
            if (const auto* error = std::get_if<lumbra::RescueMapError>(&parsed)) {
                if (error->line == 0) std::fprintf(stderr, "lumbra-nss: %s\n", error->message.c_str());
                else std::fprintf(stderr, "lumbra-nss: %s line %zu: %s\n", map.c_str(), error->line, error->message.c_str());
                return false;
            }
            sources.rescueMaps.emplace_back(images.value(imageIndex - 1).toLocal8Bit().toStdString(),
                                            std::move(std::get<lumbra::RescueMap>(parsed)));
        }
    }
    return true;
}

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
    const QCommandLineOption mapfile("mapfile", "After --image PATH: the image's rescue map (GNU ddrescue).", "MAP");
    const QCommandLineOption noDrives("no-drives", "Lists no drives of the system, only the images.");
    const QCommandLineOption accessMode("access-mode", "N: the system's devices (default); F: the BIOS disk libraries.",
                                        "N|F", "N");
    parser.addOptions({help, version, image, mapfile, noDrives, accessMode});
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
    if (!ReadRescueMaps(parser, options.sources)) return 2;
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
    for (const std::string& warning : session.disk.rescueMapWarnings())
        std::fprintf(stderr, "lumbra-nss: warning: %s\n", warning.c_str());
    window.show();
    const int code = QApplication::exec();
    // A worker still running at the end is not waited for.
    if (session.wizard.busy()) desktop.EndProcess(code);
    return code;
}
