#pragma once
// A snapshot named on the command line: found under the name typed or under the name
// snapshot-save gives it, loaded, or refused with its path and the reason.
#include <optional>
#include <string>

#include "cli/cli_context.h"
#include "snapshot/snapshot_reader.h"

namespace lumbra::cli {

struct NamedSnapshot {
    std::string path;  // the file that was read
    LoadedSnapshot loaded;
};

// The file a typed name stands for: the name itself when it exists, else the name as
// snapshot-save writes it (file name upper-cased, ".QVDX" added) when that exists.
std::string SnapshotPathFor(const std::string& typed);

// Loads the snapshot. On failure the path and the reason go to stderr, or with json
// {"format":1,"message","path","reason"} to stdout, and exitCode is 1 when the file cannot be
// read, 2 when it is no snapshot (a folder, another tag or version, a damaged file).
std::optional<NamedSnapshot> LoadNamedSnapshot(CliContext& context, const std::string& typed, bool json, int& exitCode);

}  // namespace lumbra::cli
