#include "gui/desktop_command_line.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <cstdio>

#include "disk/bios_disk_offer.h"
#include "disk/rescue_map.h"
#include "platform/product_version.h"

namespace lumbra {

namespace {

// The message of a map that cannot be used; its image is left out.
std::string MapProblem(const std::string& image, const std::string& map, const RescueMapError& error) {
    return "The disk image " + image + " is left out: " + RescueMapErrorText(map, error);
}

// Pairs each --mapfile with the --image before it (the parser keeps the order the options came
// in) and reads the maps. An image whose map cannot be used is left out, with a message for the
// window to show; false after a message on stderr when a map follows no image.
bool ReadRescueMaps(const QCommandLineParser& parser, DesktopOptions& options) {
    DriveSources& sources = options.sources;
    const QStringList images = parser.values("image");
    const QStringList maps = parser.values("mapfile");
    qsizetype imageIndex = 0;
    qsizetype mapIndex = 0;
    bool imageOpen = false;
    std::vector<size_t> leftOut;
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
            const std::string image = images.value(imageIndex - 1).toLocal8Bit().toStdString();
            auto parsed = ReadRescueMapFile(map);
            if (const auto* error = std::get_if<RescueMapError>(&parsed)) {
                options.problems.push_back(MapProblem(image, map, *error));
                leftOut.push_back(static_cast<size_t>(imageIndex - 1));
                continue;
            }
            // Images left out before this one no longer take a row.
            sources.rescueMaps.emplace_back(static_cast<size_t>(imageIndex - 1) - leftOut.size(),
                                            std::move(std::get<RescueMap>(parsed)));
            sources.rescueMapFiles.push_back(map);
        }
    }
    // The --image values come first in the list of images, in their order.
    for (auto index = leftOut.rbegin(); index != leftOut.rend(); ++index)
        sources.images.erase(sources.images.begin() + static_cast<std::ptrdiff_t>(*index));
    return true;
}

}  // namespace

std::variant<DesktopOptions, int> ParseDesktopCommandLine(const QStringList& arguments) {
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
    if (!ReadRescueMaps(parser, options)) return 2;
    options.sources.imagesAreBiosDrives = options.mode == AccessMode::F && BiosLibrariesTakeImages(options.sources.images);
    return options;
}

}  // namespace lumbra
