#include <iomanip>

#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "disk/text_encoding.h"

namespace lumbra::cli {

namespace {

// What the user can do about the machine's disks that were left out of the table.
void printUnopenedDisks(const UnopenedDisks& unopened, std::ostream& out) {
    if (unopened.needingRights > 0)
        out << unopened.needingRights
            << " disk(s) need administrator rights to be read; run lumbra-nss-cli with sudo to list them\n";
    if (unopened.refused > 0)
        out << unopened.refused << " disk(s) could not be opened: the system refuses them even to the administrator\n";
}

int runDrives(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "drives takes no arguments: " + arguments.positional.front());
    const auto& rows = context.disk.driveTable().rows;
    const UnopenedDisks& unopened = context.disk.unopenedDisks();
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
        json.endArray()
            .key("unopened")
            .beginObject()
            .key("needingRights")
            .value(static_cast<uint64_t>(unopened.needingRights))
            .key("refused")
            .value(static_cast<uint64_t>(unopened.refused))
            .endObject()
            .endObject()
            .finish();
        return kExitOk;
    }
    if (rows.empty()) {
        context.out << "No drives found. Give a disk image with --image PATH.\n";
        printUnopenedDisks(unopened, context.out);
        return kExitOk;
    }
    context.out << "Row  Label             Capacity           Cylinders  Heads  Sectors  Model / Path\n";
    for (size_t i = 0; i < rows.size(); ++i) {
        const DriveEntry& row = rows[i];
        context.out << std::left << std::setw(5) << i << std::setw(18) << DriveLabel(i) << std::setw(19)
                    << (std::to_string(row.sizeInSectors() / 2048) + " MB ( Approx )") << std::right << std::setw(9)
                    << row.cylinders << std::setw(7) << row.heads << std::setw(9) << row.sectorsPerTrack << "  "
                    << Latin1ToUtf8(row.model) << (row.path.empty() ? "" : "  " + row.path) << "\n";
    }
    printUnopenedDisks(unopened, context.out);
    return kExitOk;
}

}  // namespace

Command DrivesCommand() {
    return {"drives", "list the drive table: disks of this machine, then the images",
            "Usage: lumbra-nss-cli drives [--json]\n"
            "Lists the drives that can be read: the whole disks of this machine (unless --no-drives),\n"
            "then every --image, with their geometry. Rows are numbered from 0; other commands take\n"
            "the row number (or a path) with --drive. The disks whose open was refused are counted\n"
            "after the table: the ones sudo would let you read, and the ones refused even to root.\n"
            "The capacity is the geometry's (cylinders x heads x sectors); \"bytes\" is the exact size\n"
            "(null for the drives of the BIOS libraries, which do not tell it).\n"
            "  --json   print {\"drives\":[{\"row\",\"model\",\"path\",\"cylinders\",\"heads\",\n"
            "           \"sectorsPerTrack\",\"totalSectors\",\"bytes\"}],\"unopened\":{\"needingRights\",\"refused\"}}\n",
            {{"--json", 0, false}},
            runDrives};
}

}  // namespace lumbra::cli
