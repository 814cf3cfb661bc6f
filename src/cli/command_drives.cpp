#include <iomanip>

#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "cli/terminal_text.h"
#include "disk/text_encoding.h"

namespace lumbra::cli {

namespace {

int runDrives(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "drives takes no arguments: " + arguments.positional.front());
    const auto& rows = context.disk.driveTable().rows;
    if (arguments.has("--json")) {
        JsonWriter json(context.out);
        json.beginObject().key("drives").beginArray();
        for (size_t i = 0; i < rows.size(); ++i) {
            const DriveEntry& row = rows[i];
            json.beginObject()
                .key("row").value(static_cast<uint64_t>(i))
                .key("model").value(Latin1ToUtf8(row.model))
                .key("path").value(row.path)
                .key("cylinders").value(row.cylinders)
                .key("heads").value(row.heads)
                .key("sectorsPerTrack").value(row.sectorsPerTrack)
                .key("totalSectors").value(row.totalSectors)
                .key("bytes");
            if (row.sizeBytes) json.value(*row.sizeBytes);
            else json.null();
            json.endObject();
        }
        json.endArray().endObject().finish();
        return kExitOk;
    }
    if (rows.empty()) {
        context.out << "No drives found. Give a disk image with --image PATH.\n";
        return kExitOk;
    }
    context.out << "Row  Label             Capacity           Cylinders  Heads  Sectors  Model / Path\n";
    for (size_t i = 0; i < rows.size(); ++i) {
        const DriveEntry& row = rows[i];
        context.out << std::left << std::setw(5) << i << std::setw(18) << DriveLabel(i) << std::setw(19)
                    << (std::to_string(row.sizeInSectors() / 2048) + " MB ( Approx )") << std::right << std::setw(9)
                    << row.cylinders << std::setw(7) << row.heads << std::setw(9) << row.sectorsPerTrack << "  "
                    << TerminalText(row.model) << (row.path.empty() ? "" : "  " + row.path) << "\n";
    }
    return kExitOk;
}

}  // namespace

Command DrivesCommand() {
    return {"drives", "list the drive table: disks of this machine, then the images",
            "Usage: lumbra-nss-cli drives [--json]\n"
            "Lists the drives that can be read: the whole disks of this machine (unless --no-drives),\n"
            "then every --image, with their geometry. Rows are numbered from 0; other commands take\n"
            "the row number (or a path) with --drive. Listing reads only what the system tells of its\n"
            "disks; a disk that needs administrator rights asks for them (through pkexec) when a\n"
            "command reads it. The capacity is the geometry's (cylinders x heads x sectors); \"bytes\"\n"
            "is the exact size (null for the drives of the BIOS libraries, which do not tell it).\n"
            "  --json   print {\"drives\":[{\"row\",\"model\",\"path\",\"cylinders\",\"heads\",\n"
            "           \"sectorsPerTrack\",\"totalSectors\",\"bytes\"}]}\n",
            {{"--json", 0, false}},
            runDrives};
}

}  // namespace lumbra::cli
