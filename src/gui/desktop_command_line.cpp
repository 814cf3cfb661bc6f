#include "gui/desktop_command_line.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <cstdio>

#include "platform/product_version.h"

namespace lumbra {

std::variant<DesktopOptions, int> ParseDesktopCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Corvalt Lumbra Novell NSS: recovers files from NSS pools and volumes.");
    const QCommandLineOption help({"h", "help"}, "Shows this help and exits.");
    const QCommandLineOption version("version", "Shows the program's version and exits.");
    const QCommandLineOption image("image", "Adds a disk image file as a drive (repeatable).", "PATH");
    const QCommandLineOption noDrives("no-drives", "Lists no drives of the system, only the images.");
    const QCommandLineOption accessMode("access-mode", "N: the system's devices (default); F: the BIOS disk libraries.",
                                        "N|F", "N");
    parser.addOptions({help, version, image, noDrives, accessMode});
    parser.addPositionalArgument("IMAGE", "Disk image files, added as with --image.", "[IMAGE...]");
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
        std::printf("%.*s\n", static_cast<int>(kProductVersionText.size()), kProductVersionText.data());
        return 0;
    }
    DesktopOptions options;
    const QString mode = parser.value(accessMode).toUpper();
    if (mode != "N" && mode != "F") {
        std::fprintf(stderr, "lumbra-nss: --access-mode takes N or F\n");
        return 2;
    }
    options.mode = mode == "F" ? AccessMode::F : AccessMode::N;
    options.sources.listSystemDisks = !parser.isSet(noDrives);
    for (const QString& path : parser.values(image) + parser.positionalArguments())
        options.sources.images.push_back(path.toLocal8Bit().toStdString());
    return options;
}

}  // namespace lumbra
