#include "cli/main_program.h"

#include <exception>
#include <map>
#include <new>

#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/interrupt.h"
#include "cli/rescue_maps.h"
#include "discovery/memory_failure.h"
#include "disk/bios_disk_offer.h"
#include "platform/application_directory.h"
#include "platform/product_version.h"

namespace lumbra::cli {

namespace {

const char* const kProgramHelp =
    "Usage: lumbra-nss-cli [GLOBAL OPTIONS] COMMAND [ARGUMENTS]\n"
    "Reads disks and disk images that carry NSS pools, read-only, and recovers their files.\n"
    "\n"
    "Global options:\n"
    "  --image PATH             add a disk image file as a drive row (repeatable)\n"
    "  --mapfile MAP            after --image PATH: that image's rescue map (GNU ddrescue); its\n"
    "                           sectors never rescued read as zeros and mark files damaged, in\n"
    "                           both access modes\n"
    "  --no-drives              list no disks of this machine, only the images\n"
    "  --access-mode=N|F        N: read device files and images (default); F: read through\n"
    "                           the BIOS disk libraries next to the program\n"
    "  --sectors-per-read N     sectors per read of the partition scan, 1 to 100\n"
    "                           (default 60, 8 in the F mode)\n"
    "  --retries N              attempts on each bad sector, 1 to 10 (default 3)\n"
    "  -h, --help               this help; COMMAND --help for a command's help\n"
    "  -V, --version            the program's version\n"
    "  --                       ends the options; what follows is an argument, dash or not\n"
    "Sector numbers may be given in decimal or in hexadecimal (0x...). Mapfiles count bytes: a\n"
    "byte position, in either form, ends in a lower-case b (0x18D000b) and names the sector\n"
    "holding that byte; an upper-case B is a hexadecimal digit.\n"
    "With --json a command prints one JSON document whose first member is \"format\":1; later\n"
    "versions of the program add fields to it but rename none. Times are also given in ISO 8601\n"
    "with their offset, in UTC (\"dateTime\":\"2004-03-05T08:07:31Z\").\n"
    "\n"
    "Exit codes:\n"
    "  0      done (an empty result is done too)\n"
    "  1      a drive or file could not be read or written (standard output too), the BIOS\n"
    "         disk libraries of the F mode are missing, or memory ran out\n"
    "  2      bad arguments or a bad input file\n"
    "  3      internal error\n"
    "  130    stopped by Ctrl-C (what was found until then is printed; press Ctrl-C twice to\n"
    "         end at once)\n"
    "\n"
    "Commands:\n";

// What the line asks for before any option is parsed: the command (the first argument that is
// neither an option nor an option's value) and whether -h/--help or -V/--version stands
// anywhere before "--".
struct LineRequest {
    std::string command;
    bool help = false;
    bool version = false;
};

LineRequest readRequest(const std::vector<std::string>& arguments) {
    std::map<std::string, int> arity;
    for (const auto& option : GlobalOptions()) arity[option.name] = option.values;
    for (const auto& command : AllCommands())
        for (const auto& option : command.options) arity[option.name] = option.values;
    LineRequest request;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            if (request.command.empty() && i + 1 < arguments.size()) request.command = arguments[i + 1];
            break;
        }
        if (argument == "-h" || argument == "--help") request.help = true;
        if (argument == "-V" || argument == "--version") request.version = true;
        if (argument.size() < 2 || argument[0] != '-') {
            if (request.command.empty()) request.command = argument;
            continue;
        }
        if (argument.find('=') != std::string::npos) continue;
        auto known = arity.find(argument);
        if (known != arity.end()) i += static_cast<size_t>(known->second);
    }
    return request;
}

// The one line under an error that says where the help is.
std::string tryHelp(const std::string& command) {
    return "Try 'lumbra-nss-cli " + (command.empty() ? std::string() : command + " ") + "--help' for more information.\n";
}

std::variant<GlobalSettings, std::string> globalSettings(const ParsedArguments& parsed) {
    GlobalSettings settings;
    if (auto mode = parsed.value("--access-mode")) {
        if (*mode == "N") settings.accessMode = AccessMode::N;
        else if (*mode == "F") settings.accessMode = AccessMode::F;
        else return "--access-mode takes N or F, not " + *mode;
    }
    settings.sectorsPerRead = DefaultSectorsPerRead(settings.accessMode);
    if (auto text = parsed.value("--sectors-per-read")) {
        auto number = ParseUnsigned(*text, 1, 100);
        if (!number) return "--sectors-per-read takes a number from 1 to 100, not " + *text;
        settings.sectorsPerRead = static_cast<uint32_t>(*number);
    }
    if (auto text = parsed.value("--retries")) {
        auto number = ParseUnsigned(*text, 1, 10);
        if (!number) return "--retries takes a number from 1 to 10, not " + *text;
        settings.badSectorRetries = static_cast<uint16_t>(*number);
    }
    settings.images = parsed.values("--image");
    settings.listSystemDisks = !parsed.has("--no-drives");
    return settings;
}

void printProgramHelp(std::ostream& out) {
    out << kProgramHelp;
    for (const Command& command : AllCommands()) {
        // Two blanks at least, so that each command stays a paragraph of its own in the manual.
        out << "  " << command.name << std::string(command.name.size() < 14 ? 16 - command.name.size() : 2, ' ')
            << command.summary << "\n";
    }
}

int runCommand(const Command& command, const std::vector<std::string>& arguments, std::ostream& out,
               std::ostream& err) {
    std::vector<OptionSpec> specs = GlobalOptions();
    specs.insert(specs.end(), command.options.begin(), command.options.end());
    auto parsed = ParseArguments(arguments, specs);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        err << "lumbra-nss-cli " << command.name << ": " << *error << "\n" << tryHelp(command.name);
        return kExitBadInput;
    }
    auto& arguments_ = std::get<ParsedArguments>(parsed);
    arguments_.positional.erase(arguments_.positional.begin());  // the command's own name
    auto settings = globalSettings(arguments_);
    if (auto* error = std::get_if<std::string>(&settings)) {
        err << "lumbra-nss-cli: " << *error << "\n" << tryHelp("");
        return kExitBadInput;
    }
    const auto rescueMaps = PairRescueMaps(arguments);
    if (auto* error = std::get_if<std::string>(&rescueMaps)) {
        err << "lumbra-nss-cli: " << *error << "\n";
        return kExitBadInput;
    }
    CliContext context(std::get<GlobalSettings>(settings), out, err);
    context.commandLine.push_back("lumbra-nss-cli");
    context.commandLine.insert(context.commandLine.end(), arguments.begin(), arguments.end());
    DriveSources sources;
    sources.listSystemDisks = context.settings.listSystemDisks;
    sources.images = context.settings.images;
    sources.imagesAreBiosDrives =
        context.settings.accessMode == AccessMode::F && BiosLibrariesTakeImages(context.settings.images);
    const auto& maps = std::get<0>(rescueMaps);
    if (context.settings.accessMode == AccessMode::F && !maps.empty() && !sources.imagesAreBiosDrives)
        return context.fail(kExitBadInput, "--mapfile in the F access mode needs the BIOS libraries to serve the "
                                           "--image files, but LUMBRA_BIOS_DISKS names their disks already");
    if (auto code = ReadRescueMaps(context, maps, sources)) return *code;
    if (auto fatal = context.disk.EnumerateDrives(sources, ExecutableDirectory())) {
        err << "Corvalt Lumbra Novell NSS: " << *fatal << "\n";
        return kExitEnvironment;
    }
    for (const std::string& error : context.disk.imageErrors()) context.fail(kExitBadInput, error);
    if (!context.disk.imageErrors().empty()) return kExitBadInput;
    for (const std::string& warning : context.disk.rescueMapWarnings()) err << "lumbra-nss-cli: warning: " << warning << "\n";
    for (const DriveEntry& row : context.disk.driveTable().rows) context.inputs.add(row.path);
    for (const std::string& map : sources.rescueMapFiles) context.inputs.add(map);
    if (!context.outputOffInputs()) return kExitBadInput;
    const int code = command.run(context, arguments_);
    if (!Interrupted()) return code;
    err << "lumbra-nss-cli: stopped by Ctrl-C; what is printed above was found before it.\n";
    return kExitInterrupted;
}

int runProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    try {
        const LineRequest request = readRequest(arguments);
        if (request.version) {
            out << "lumbra-nss-cli (" << kProductName << ") " << kProductVersion << "\n";
            return kExitOk;
        }
        const Command* command = FindCommand(request.command);
        if (request.help) {
            if (command) out << command->help;
            else printProgramHelp(out);
            return kExitOk;
        }
        if (request.command.empty()) {
            err << "lumbra-nss-cli: a COMMAND is needed\n" << tryHelp("");
            return kExitBadInput;
        }
        if (!command) {
            err << "lumbra-nss-cli: unknown command " << request.command << "\n" << tryHelp("");
            return kExitBadInput;
        }
        return runCommand(*command, arguments, out, err);
    } catch (const std::bad_alloc&) {
        // What was being built is not whole; nothing of it is reported as done.
        err << "lumbra-nss-cli: " << kRecordMemoryText << "\n";
        return kExitEnvironment;
    } catch (const std::exception& error) {
        err << "lumbra-nss-cli: internal error: " << error.what() << "\n";
        return kExitInternal;
    }
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const int code = runProgram(arguments, out, err);
    // Output that never arrived (a full disk behind standard output) is no success.
    if (out.flush()) return code;
    return OutputFailed(code, err);
}

int OutputFailed(int code, std::ostream& err) {
    err << "lumbra-nss-cli: the output could not be written\n";
    return code == kExitOk ? kExitEnvironment : code;
}

}  // namespace lumbra::cli
