#include <iomanip>

#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "cli/output_file.h"
#include "cli/picture_source.h"
#include "picture/picture_colours.h"
#include "picture/picture_legend.h"
#include "picture/picture_svg.h"

namespace lumbra::cli {

namespace {

constexpr uint32_t kDefaultCells = 2048;
constexpr uint32_t kMaxCells = 65536;

void PrintLegend(std::ostream& out, const DiskPicture& picture) {
    out << "Disk: " << picture.diskSectors() << " sectors (" << SizeText(picture.diskSectors()) << ")\n";
    for (const LegendEntry& entry : PictureLegend(picture))
        out << "  " << std::left << std::setw(32) << entry.name << std::right << std::setw(14) << entry.sectors
            << " sectors  " << SizeText(entry.sectors) << "\n";
    out << "Damaged and never read sectors count also in the kind of area they lie in.\n";
}

void PrintJsonLegend(std::ostream& out, const DiskPicture& picture) {
    JsonWriter json(out);
    json.beginObject().key("diskSectors").value(picture.diskSectors()).key("legend").beginArray();
    for (const LegendEntry& entry : PictureLegend(picture)) {
        json.beginObject()
            .key("name").value(entry.name)
            .key("colour").value(ColourText(entry.colour))
            .key("hatched").value(entry.hatched)
            .key("sectors").value(entry.sectors)
            .key("faded").value(entry.faded)
            .endObject();
    }
    json.endArray().endObject().finish();
}

int runMap(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "map takes no arguments: " + arguments.positional.front());
    uint32_t cells = kDefaultCells;
    if (const auto text = arguments.value("--cells")) {
        const auto parsed = ParseUnsigned(*text, 1, kMaxCells);
        if (!parsed) return context.fail(kExitBadInput, "--cells takes a number from 1 to " + std::to_string(kMaxCells) + ", not " + *text);
        cells = static_cast<uint32_t>(*parsed);
    }
    int exitCode = kExitOk;
    auto source = OpenPictureSource(context, arguments, exitCode);
    if (!source) return exitCode;
    const DiskPicture picture = LayDiskOut(source->facts());
    if (const auto path = arguments.value("--svg")) {
        const std::string title =
            "Disk " + context.disk.driveTable().rows[source->driveRow].path + ": " + SizeText(picture.diskSectors());
        return WriteOutputFile(context, *path, PictureSvg(picture, cells, title));
    }
    if (arguments.has("--json")) PrintJsonLegend(context.out, picture);
    else PrintLegend(context.out, picture);
    return kExitOk;
}

}  // namespace

Command MapCommand() {
    std::vector<OptionSpec> options = PictureSourceOptions();
    options.push_back({"--svg", 1, false});
    options.push_back({"--cells", 1, false});
    return {"map", "picture where the pools, metadata, files and damage lie on a drive",
            std::string("Usage: lumbra-nss-cli map SOURCE [--svg FILE] [--cells N]\n"
                        "Prints the size of each kind of area of the drive: partition structures, each pool,\n"
                        "and in the selected pool its metadata, file data and the blocks holding nothing known;\n"
                        "sectors never read (not asked for by this run, or never tried by the rescue copier)\n"
                        "outweigh those and are drawn faded over them; damaged sectors (unreadable, or never\n"
                        "rescued by the rescue copier though tried) outweigh the rest. Damaged and never read\n"
                        "sectors count also in the kind of area they lie in, so the sizes add up to more than\n"
                        "the disk.\n") +
                kPictureSourceHelp +
                "  --svg FILE  draw the picture instead: a bar for the whole disk, a grid of the selected\n"
                "              pool's area, and the legend\n"
                "  --cells N   cells of the pool's grid, 1 to 65536 (default 2048)\n"
                "  --json      print {\"format\":1,\"diskSectors\",\"legend\":[{\"name\",\"colour\",\"hatched\",\"sectors\",\"faded\"}]}\n",
            options, runMap};
}

}  // namespace lumbra::cli
