#include "cli/body_file.h"
#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "cli/metadata_warning.h"
#include "cli/record_json.h"
#include "cli/recovery_source.h"
#include "cli/volume_path.h"

namespace lumbra::cli {

namespace {

int runList(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "list takes no arguments: " + arguments.positional.front());
    if (arguments.has("--json") && arguments.has("--bodyfile"))
        return context.fail(kExitBadInput, "--json and --bodyfile exclude each other");
    ListScope scope;
    if (auto path = arguments.value("--path")) {
        scope.folderPath = VolumePathArgument(*path);
        if (!scope.folderPath)
            return context.fail(kExitBadInput, "--path takes a folder path as find shows it, such as '\\DOCS\\2004'");
    }
    int exitCode = kExitOk;
    auto source = OpenRecoverySource(context, arguments, exitCode);
    if (!source) return exitCode;
    const RecoveredTree& tree = source->loaded.records;
    if (scope.folderPath && *scope.folderPath != "\\" && RecordsAtPath(tree, *scope.folderPath).folderIndexes.empty())
        return context.fail(kExitBadInput, "no folder " + *arguments.value("--path") + " (see list)");
    if (arguments.has("--json")) {
        JsonWriter json(context.out);
        json.beginObject();
        WriteRecordLists(json, tree, source->reader.get(), &source->loaded.state.pool, scope);
        json.key("unreadableMetadataSectors").value(UnreadableMetadataSectors(*source->reader));
        json.key("complete").value(!source->loaded.state.partial);
        json.endObject().finish();
    } else if (arguments.has("--bodyfile")) {
        PrintBodyFile(context.out, tree, scope);
    } else {
        PrintRecordLists(context.out, tree, scope);
    }
    return kExitOk;
}

std::vector<OptionSpec> ListOptions() {
    std::vector<OptionSpec> specs = RecoverySourceOptions();
    specs.insert(specs.end(), {{"--path", 1, false}, {"--bodyfile", 0, false}});
    return specs;
}

}  // namespace

Command ListCommand() {
    return {"list", "mount a volume (or load a snapshot) and list its folders and files",
            std::string("Usage: lumbra-nss-cli list SOURCE [--path '\\FOLDER'] [--json | --bodyfile]\n"
                        "Lists the recovered folders, then the files, in list order.\n") +
                kRecoverySourceHelp +
                "  --path PATH  list only the folders and files lying directly in this folder, each\n"
                "           with its whole path ('\\DOCS\\2004' or '/DOCS/2004'; \\ is the root)\n"
                "  --bodyfile   print the body file of the sleuthkit (MD5|name|inode|mode|UID|GID|size|\n"
                "           atime|mtime|ctime|crtime) for mactime: MD5 0, the path on the volume, the\n"
                "           object id, the size, the record's time as mtime and 0 for the others\n"
                "  --json   print {\"folders\":[{\"itemNumber\",\"objectId\",\"parentId\",\"name\",\"timeStamp\",\n"
                "           \"date\",\"time\",\"dateTime\"}],\"files\":[{\"itemNumber\",\"objectId\",\"parentId\",\n"
                "           \"name\",\"size\",\"firstBlock\",\"blockCount\",\"timeStamp\",\"date\",\"time\",\"dateTime\",\n"
                "           \"path\",\"condition\"}]}; dateTime: ISO 8601 in UTC (\"2004-03-05T08:07:31Z\"), left out\n"
                "           where date and time read unknown; condition: intact, damaged or cut short (then\n"
                "           \"unreadableBytes\" and \"unreadableRanges\":[{\"offset\",\"length\"}]), or not\n"
                "           read yet (without --mapfile); \"unreadableMetadataSectors\": sectors of\n"
                "           on-disk structures that could not be read; \"complete\": false when Ctrl-C\n"
                "           stopped the mount, or the snapshot was saved from such a mount\n",
            ListOptions(), runList};
}

}  // namespace lumbra::cli
