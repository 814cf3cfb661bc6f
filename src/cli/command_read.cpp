#include <cstdio>
#include <vector>

#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "disk/sector.h"

namespace lumbra::cli {

namespace {

constexpr uint64_t kMaxCount = 2048;

// The sectors of a run, and which of them could not be read (their bytes are zeros).
struct ReadRun {
    uint64_t firstSector = 0;
    std::vector<uint8_t> bytes;
    std::vector<uint64_t> unreadable;
};

// Sector by sector, so that each failure is known by its own sector.
ReadRun ReadRunOf(SectorReader& reader, uint64_t firstSector, uint64_t count) {
    ReadRun run{firstSector, std::vector<uint8_t>(count * kSectorSize, 0), {}};
    for (uint64_t i = 0; i < count; ++i)
        if (reader.ReadSectors(firstSector + i, 1, run.bytes.data() + i * kSectorSize) == 0)
            run.unreadable.push_back(firstSector + i);
    return run;
}

void hexDump(std::ostream& out, const ReadRun& run) {
    char line[100];
    size_t nextUnreadable = 0;
    for (size_t offset = 0; offset < run.bytes.size(); offset += 16) {
        if (offset % kSectorSize == 0) {
            const uint64_t sector = run.firstSector + offset / kSectorSize;
            const bool failed = nextUnreadable < run.unreadable.size() && run.unreadable[nextUnreadable] == sector;
            if (failed) ++nextUnreadable;
            out << "sector " << sector << (failed ? ": UNREADABLE, shown as zeros\n" : ":\n");
        }
        int used = std::snprintf(line, sizeof line, "  %03zx ", offset % kSectorSize);
        std::string text;
        for (size_t i = 0; i < 16; ++i) {
            const uint8_t byte = run.bytes[offset + i];
            used += std::snprintf(line + used, sizeof line - static_cast<size_t>(used), " %02x", byte);
            text.push_back(byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.');
        }
        out << line << "  " << text << "\n";
    }
}

void printJson(std::ostream& out, const ReadRun& run) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(run.bytes.size() * 2);
    for (uint8_t byte : run.bytes) hex += {kHex[byte >> 4], kHex[byte & 0x0F]};
    JsonWriter json(out);
    json.beginObject()
        .key("sector").value(run.firstSector)
        .key("count").value(static_cast<uint64_t>(run.bytes.size() / kSectorSize))
        .key("unreadable").beginArray();
    for (uint64_t sector : run.unreadable) json.value(sector);
    json.endArray().key("hex").value(hex).endObject().finish();
}

int runRead(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "read takes no arguments: " + arguments.positional.front());
    auto row = context.resolveDrive(arguments);
    if (!row) return kExitBadInput;
    const auto sectorText = arguments.value("--sector");
    if (!sectorText) return context.fail(kExitBadInput, "--sector S is required");
    const auto sector = ParseSectorArgument(*sectorText, 0, UINT64_MAX / kSectorSize - kMaxCount);
    if (!sector) return context.fail(kExitBadInput, "--sector takes a sector number, not " + *sectorText);
    const auto count = ParseUnsigned(arguments.value("--count").value_or("1"), 1, kMaxCount);
    if (!count) return context.fail(kExitBadInput, "--count takes a number from 1 to 2048");

    std::string why;
    auto reader = context.disk.OpenDrive(*row, context.settings.badSectorRetries, &why);
    if (!why.empty()) return context.fail(kExitEnvironment, "cannot open drive " + std::to_string(*row) + ": " + why);
    const ReadRun run = ReadRunOf(*reader, *sector, *count);
    if (arguments.has("--json")) printJson(context.out, run);
    else hexDump(context.out, run);
    if (run.unreadable.empty()) return kExitOk;
    return context.fail(kExitEnvironment, std::to_string(run.unreadable.size()) + " of " + std::to_string(*count) +
                                              " sector(s) could not be read; they are shown as zeros");
}

}  // namespace

Command ReadCommand() {
    return {"read", "hex dump of sectors of a drive",
            "Usage: lumbra-nss-cli read --drive ROW|PATH --sector S [--count C] [--json]\n"
            "Reads C sectors (default 1, at most 2048) from sector S of the drive, read-only, with the\n"
            "retries of --retries, and prints them in hexadecimal. S is a sector number (decimal or\n"
            "0x...), or a byte position ending in b, as a mapfile counts (0x18D000b: the sector\n"
            "holding that byte). A sector that cannot be read (a bad sector, one past the end, or one\n"
            "the --mapfile never rescued) is shown as zeros under the line \"sector N: UNREADABLE,\n"
            "shown as zeros\"; when any sector could not be read, the exit code is 1.\n"
            "  --json   print {\"sector\",\"count\",\"unreadable\":[sector numbers],\"hex\"}\n",
            {{"--drive", 1, false}, {"--sector", 1, false}, {"--count", 1, false}, {"--json", 0, false}},
            runRead};
}

}  // namespace lumbra::cli
