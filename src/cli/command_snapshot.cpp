#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "cli/record_json.h"
#include "cli/recovery_source.h"
#include "cli/snapshot_file.h"
#include "cli/terminal_text.h"
#include "disk/text_encoding.h"
#include "snapshot/snapshot_writer.h"

namespace lumbra::cli {

namespace {

const char* const kPartialSnapshotLine =
    "Partial: the mount was stopped before it ended; the snapshot holds only what it found until then";

void WriteState(JsonWriter& json, const SnapshotState& state) {
    json.key("selectedDrive").value(uint64_t{state.selectedDrive});
    json.key("pool").beginObject()
        .key("name").value(Latin1ToUtf8(state.pool.name))
        .key("poolSize").value(state.pool.poolSize)
        .key("segmentCount").value(state.pool.segmentCount)
        .key("segments").beginArray();
    for (uint32_t i = 0; i < state.pool.segmentCount; ++i)
        json.beginObject()
            .key("start").value(state.pool.segmentStart[i])
            .key("extent").value(SegmentLength(state.pool.segmentCount, state.pool.poolSize, state.pool.segmentExtent[i]))
            .endObject();
    json.endArray().endObject();
    json.key("superblockSector").value(state.objectTree.superblockSector)
        .key("rootSector").value(state.objectTree.rootSector)
        .key("volumes").beginArray();
    for (const VolumeEntry& volume : state.volumes.volumes())
        json.beginObject().key("name").value(Latin1ToUtf8(volume.name)).key("rootSector").value(volume.rootSector).endObject();
    json.endArray()
        .key("selectedPool").value(uint64_t{state.selectedPool})
        .key("selectedVolume").value(state.selectedVolume)
        .key("complete").value(!state.partial);
}

void PrintState(std::ostream& out, const LoadedSnapshot& loaded) {
    const SnapshotState& state = loaded.state;
    out << "Drive row " << state.selectedDrive << ", pool " << TerminalText(state.pool.name) << " ("
        << state.pool.poolSize << " sectors, " << state.pool.segmentCount << " segment(s)), pool row "
        << state.selectedPool << ", volume row " << state.selectedVolume << "\n";
    if (state.partial) out << kPartialSnapshotLine << "\n";
    for (uint32_t row = 0; row < state.volumes.count(); ++row)
        out << "  volume " << row << ": " << TerminalText(state.volumes[row].name) << "\n";
    out << loaded.records.folders().size() << " folder(s), " << loaded.records.files().size() << " file(s)\n";
    PrintRecordLists(out, loaded.records);
}

int runSnapshotShow(CliContext& context, const ParsedArguments& arguments) {
    if (arguments.positional.size() != 1) return context.fail(kExitBadInput, "snapshot-show takes one FILE");
    const bool json = arguments.has("--json");
    int exitCode = kExitOk;
    const auto snapshot = LoadNamedSnapshot(context, arguments.positional[0], json, exitCode);
    if (!snapshot) return exitCode;
    const LoadedSnapshot& loaded = snapshot->loaded;
    if (!json) {
        PrintState(context.out, loaded);
        return kExitOk;
    }
    JsonWriter writer(context.out);
    writer.beginObject();
    WriteState(writer, loaded.state);
    WriteRecordLists(writer, loaded.records);
    writer.endObject().finish();
    return kExitOk;
}

int runSnapshotSave(CliContext& context, const ParsedArguments& arguments) {
    if (arguments.positional.size() != 1) return context.fail(kExitBadInput, "snapshot-save takes one FILE");
    int exitCode = kExitOk;
    auto source = OpenRecoverySource(context, arguments, exitCode);
    if (!source) return exitCode;
    if (source->mountStopped && !arguments.has("--partial"))
        return context.fail(kExitInterrupted, "the mount was stopped before it ended; no snapshot was written "
                                              "(--partial saves what it found)");
    const std::string path = SnapshotSavePath(arguments.positional[0]);
    PosixDestinationFiles files(&context.inputs);
    if (auto error = SaveSnapshot(files, path, source->loaded.state, source->loaded.records))
        return context.fail(error->replacesInput ? kExitBadInput : kExitEnvironment,
                            error->reason.empty() ? error->message : "cannot save " + path + ": " + error->reason);
    const bool partial = source->loaded.state.partial;
    if (arguments.has("--json")) {
        JsonWriter(context.out).beginObject().key("path").value(path).key("complete").value(!partial).endObject().finish();
    } else {
        context.out << "Saved " << path << "\n";
        if (partial) context.out << kPartialSnapshotLine << "\n";
    }
    return kExitOk;
}

std::vector<OptionSpec> SnapshotSaveOptions() {
    std::vector<OptionSpec> specs = RecoverySourceOptions();
    specs.push_back({"--partial", 0, false});
    return specs;
}

}  // namespace

Command SnapshotSaveCommand() {
    return {"snapshot-save", "mount a volume and save a recovery snapshot of it",
            std::string("Usage: lumbra-nss-cli snapshot-save FILE SOURCE [--partial] [--json]\n"
                        "Writes the recovered tree and the pool and volume layout to a snapshot, so that later\n"
                        "runs read it with --snapshot instead of mounting again. As in the desktop application the\n"
                        "file name is upper-cased and gets .QVDX unless it ends so; the path written is printed.\n"
                        "An existing file is replaced only once the new one is whole; a file this run\n"
                        "reads (a drive, an image, a rescue map, the loaded snapshot) is never replaced, and\n"
                        "no snapshot is written on a file system of the disk being read.\n"
                        "A mount stopped by Ctrl-C writes no snapshot, unless --partial asks to save the\n"
                        "part found before it; such a snapshot is marked partial, and says so when saved and\n"
                        "whenever it is loaded. --json prints {\"path\",\"complete\"}.\n") +
                kRecoverySourceHelp,
            SnapshotSaveOptions(), runSnapshotSave};
}

Command SnapshotShowCommand() {
    return {"snapshot-show", "show the state a recovery snapshot restores",
            "Usage: lumbra-nss-cli snapshot-show FILE [--json]\n"
            "Reads a snapshot as a load does (records the loader refuses are left out, item numbers as\n"
            "it gives them) and prints it. When no FILE of the name typed exists, the name as\n"
            "snapshot-save writes it (upper-cased, with .QVDX) is read. A file that cannot be read\n"
            "exits with 1; a folder, a damaged file or one of another tag or version exits with 2;\n"
            "both name the path, the message the desktop application shows and the reason.\n"
            "  --json   print {\"selectedDrive\",\"pool\":{\"name\",\"poolSize\",\"segmentCount\",\"segments\":\n"
            "           [{\"start\",\"extent\"}]} (as pools prints them),\"superblockSector\",\"rootSector\",\n"
            "           \"volumes\":[{\"name\",\"rootSector\"}],\"selectedPool\",\"selectedVolume\",\"complete\",\n"
            "           \"folders\":[...],\"files\":[...]}; complete is false for a snapshot of a stopped mount\n"
            "           or {\"message\",\"path\",\"reason\"} when the file is refused\n",
            {{"--json", 0, false}}, runSnapshotShow};
}

}  // namespace lumbra::cli
