#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "cli/metadata_warning.h"
#include "cli/record_json.h"
#include "cli/recovery_source.h"

namespace lumbra::cli {

namespace {

int runList(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "list takes no arguments: " + arguments.positional.front());
    int exitCode = kExitOk;
    auto source = OpenRecoverySource(context, arguments, exitCode);
    if (!source) return exitCode;
    if (arguments.has("--json")) {
        JsonWriter json(context.out);
        json.beginObject();
        WriteRecordLists(json, source->loaded.records, source->reader.get(), &source->loaded.state.pool);
        json.key("unreadableMetadataSectors").value(UnreadableMetadataSectors(*source->reader));
        json.endObject().finish();
    } else {
        PrintRecordLists(context.out, source->loaded.records);
    }
    return kExitOk;
}

}  // namespace

Command ListCommand() {
    return {"list", "mount a volume (or load a snapshot) and list its folders and files",
            std::string("Usage: lumbra-nss-cli list SOURCE [--json]\n"
                        "Lists the recovered folders, then the files, in list order.\n") +
                kRecoverySourceHelp +
                "  --json   print {\"folders\":[{\"itemNumber\",\"objectId\",\"parentId\",\"name\",\"timeStamp\",\n"
                "           \"date\",\"time\"}],\"files\":[{\"itemNumber\",\"objectId\",\"parentId\",\"name\",\"size\",\n"
                "           \"firstBlock\",\"blockCount\",\"timeStamp\",\"date\",\"time\",\"path\",\"condition\"}]};\n"
                "           condition: intact, damaged (then \"unreadableBytes\" and \"unreadableRanges\":\n"
                "           [{\"offset\",\"length\"}]), cut short, or not read yet (without --mapfile);\n"
                "           \"unreadableMetadataSectors\": sectors of on-disk structures that could not be read\n",
            RecoverySourceOptions(), runList};
}

}  // namespace lumbra::cli
