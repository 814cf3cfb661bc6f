#include <cstdio>
#include <vector>

#include "cli/command.h"
#include "cli/exit_codes.h"
#include "disk/sector.h"

namespace lumbra::cli {

namespace {

constexpr uint64_t kMaxCount = 2048;

void hexDump(std::ostream& out, uint64_t firstSector, const std::vector<uint8_t>& bytes) {
    char line[100];
    for (size_t offset = 0; offset < bytes.size(); offset += 16) {
        if (offset % kSectorSize == 0) out << "sector " << firstSector + offset / kSectorSize << ":\n";
        int used = std::snprintf(line, sizeof line, "  %03zx ", offset % kSectorSize);
        std::string text;
        for (size_t i = 0; i < 16; ++i) {
            const uint8_t byte = bytes[offset + i];
            used += std::snprintf(line + used, sizeof line - static_cast<size_t>(used), " %02x", byte);
            text.push_back(byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.');
        }
        out << line << "  " << text << "\n";
    }
}

int runRead(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "read takes no arguments: " + arguments.positional.front());
    auto row = context.resolveDrive(arguments);
    if (!row) return kExitBadInput;
    const auto sectorText = arguments.value("--sector");
    if (!sectorText) return context.fail(kExitBadInput, "--sector S is required");
    const auto sector = ParseUnsigned(*sectorText, 0, UINT64_MAX / kSectorSize - kMaxCount);
    if (!sector) return context.fail(kExitBadInput, "--sector takes a sector number, not " + *sectorText);
    const auto count = ParseUnsigned(arguments.value("--count").value_or("1"), 1, kMaxCount);
    if (!count) return context.fail(kExitBadInput, "--count takes a number from 1 to 2048");

    std::string why;
    auto reader = context.disk.OpenDrive(*row, context.settings.badSectorRetries, &why);
    if (!why.empty()) return context.fail(kExitEnvironment, "cannot open drive " + std::to_string(*row) + ": " + why);
    std::vector<uint8_t> bytes(*count * kSectorSize, 0);
    const int result = reader->ReadSectors(*sector, static_cast<uint32_t>(*count), bytes.data());
    hexDump(context.out, *sector, bytes);
    if (result == 0) {
        return context.fail(kExitEnvironment, "the read failed at the end of the run: sectors that could not be "
                                              "read are shown as zeros");
    }
    return kExitOk;
}

}  // namespace

Command ReadCommand() {
    return {"read", "hex dump of sectors of a drive",
            "Usage: lumbra-nss-cli read --drive ROW|PATH --sector S [--count C]\n"
            "Reads C sectors (default 1, at most 2048) from sector S of the drive, read-only, with the\n"
            "retries of --retries, and prints them in hexadecimal. Sectors that cannot be read show as\n"
            "zeros; the exit code is 1 when the last sector could not be read.\n",
            {{"--drive", 1, false}, {"--sector", 1, false}, {"--count", 1, false}},
            runRead};
}

}  // namespace lumbra::cli
