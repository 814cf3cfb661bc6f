#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
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
                "           \"date\",\"time\",\"dateTime\"}],\"files\":[{\"itemNumber\",\"objectId\",\"parentId\",\n"
                "           \"name\",\"size\",\"firstBlock\",\"blockCount\",\"timeStamp\",\"date\",\"time\",\"dateTime\",\n"
                "           \"path\",\"condition\"}]}; dateTime: ISO 8601 in UTC (\"2004-03-05T08:07:31Z\"), left out\n"
                "           where date and time read unknown; condition: intact, damaged (then\n"
                "           \"unreadableBytes\" and \"unreadableRanges\":[{\"offset\",\"length\"}]), cut short,\n"
                "           or not read yet (without --mapfile)\n",
            RecoverySourceOptions(), runList};
}

}  // namespace lumbra::cli
