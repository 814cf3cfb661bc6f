#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "cli/latin1_argument.h"
#include "cli/metadata_warning.h"
#include "cli/record_json.h"
#include "cli/recovery_source.h"
#include "cli/terminal_text.h"
#include "disk/text_encoding.h"
#include "recovery/find_search.h"
#include "recovery/folder_path.h"
#include "recovery/recovery_run.h"

namespace lumbra::cli {

namespace {

struct RowCollector : FindResultSink {
    void rowFound(const FindRow& row, uint32_t) override { rows.push_back(row); }
    std::vector<FindRow> rows;
};

// The name and the folder's path as the volume holds them, in full; the Find window shows the
// 8-bit name upper-cased.
std::string HeldName(const RecoveredTree& tree, const FindRow& row) {
    return row.itemNumber < tree.files().size() ? NameUtf8(tree.files()[row.itemNumber]) : Latin1ToUtf8(row.fileName);
}

std::string HeldPath(const RecoveredTree& tree, const FindRow& row) {
    return row.itemNumber < tree.files().size() ? FullFolderPath(tree, tree.files()[row.itemNumber].parentId)
                                                : Latin1ToUtf8(row.path);
}

int runFind(CliContext& context, const ParsedArguments& arguments) {
    if (arguments.positional.size() != 1) return context.fail(kExitBadInput, "find takes one PATTERN");
    int exitCode = kExitOk;
    auto source = OpenRecoverySource(context, arguments, exitCode);
    if (!source) return exitCode;
    RowCollector rows;
    SearchControl control;
    RunFindSearch(source->loaded.records, Latin1FromArgument(arguments.positional[0]), rows, control);
    const RecoveredTree& tree = source->loaded.records;
    if (arguments.has("--json")) {
        JsonWriter json(context.out);
        json.beginObject().key("count").value(static_cast<uint64_t>(rows.rows.size()));
        json.key("matches").beginArray();
        for (const FindRow& row : rows.rows) {
            json.beginObject()
                .key("name").value(HeldName(tree, row))
                .key("path").value(HeldPath(tree, row))
                .key("size").value(row.size);
            if (row.itemNumber < tree.files().size())
                WriteCondition(json, ConditionOfFile(*source->reader, source->loaded.state.pool, tree.files()[row.itemNumber]));
            json.endObject();
        }
        json.endArray().key("unreadableMetadataSectors").value(UnreadableMetadataSectors(*source->reader));
        json.endObject().finish();
        return kExitOk;
    }
    for (const FindRow& row : rows.rows)
        context.out << TerminalUtf8(HeldPath(tree, row)) << "\t" << TerminalUtf8(HeldName(tree, row)) << "\t" << row.size << "\n";
    context.err << rows.rows.size() << " file(s) found\n";
    return kExitOk;
}

}  // namespace

Command FindFilesCommand() {
    return {"find", "find recovered files by name, as the Find Files window does",
            std::string("Usage: lumbra-nss-cli find PATTERN SOURCE [--json]\n"
                        "Lists the files whose name matches PATTERN under the name rule of the filters, upper\n"
                        "and lower case alike (a pattern without * or ? matches anywhere in the name): one line\n"
                        "per file with its folder's path, its name as the volume holds it, and its size. The\n"
                        "count of files found goes to standard error.\n") +
                kRecoverySourceHelp +
                "  --json   print {\"count\",\"matches\":[{\"name\",\"path\",\"size\",\"condition\",\n"
                "           ...}],\"unreadableMetadataSectors\"} (see list)\n",
            RecoverySourceOptions(), runFind};
}

}  // namespace lumbra::cli
