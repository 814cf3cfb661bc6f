#include "cli/snapshot_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "disk/text_encoding.h"
#include "snapshot/snapshot_format.h"
#include "snapshot/snapshot_writer.h"

namespace lumbra::cli {
namespace {

struct LoadFailure {
    int exitCode;
    std::string message;  // the desktop application's text
    std::string reason;   // what lies behind it, for people
};

int Report(CliContext& context, const std::string& path, const LoadFailure& failure, bool json) {
    if (json) {
        JsonWriter(context.out)
            .beginObject()
            .key("message").latin1Value(failure.message)
            .key("path").value(path)
            .key("reason").value(failure.reason)
            .endObject()
            .finish();
        return failure.exitCode;
    }
    std::string message = failure.message;
    while (!message.empty() && message.front() == ' ') message.erase(message.begin());
    return context.fail(failure.exitCode, "cannot load the snapshot " + path + ": " + Latin1ToUtf8(message) + " (" +
                                              failure.reason + ")");
}

// Why the file cannot serve as a snapshot before it is read at all; nullopt when it can be read.
std::optional<LoadFailure> OpenProblem(const std::string& path) {
    const std::string unableToOpen(snapshot_format::kUnableToOpenText);
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return LoadFailure{kExitBadInput, unableToOpen, "it is a folder"};
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return LoadFailure{kExitEnvironment, unableToOpen, std::strerror(errno)};
    ::close(descriptor);
    return std::nullopt;
}

std::string ReasonOf(const SnapshotLoadError& error) {
    switch (error.kind) {
        case SnapshotLoadError::Kind::Unreadable: return "a read error";
        case SnapshotLoadError::Kind::WrongTag: return "not a recovery snapshot";
        case SnapshotLoadError::Kind::WrongVersion: return "a snapshot of another version";
        case SnapshotLoadError::Kind::Damaged: break;
    }
    return "damaged or cut short";
}

}  // namespace

std::string SnapshotPathFor(const std::string& typed) {
    std::error_code error;
    if (std::filesystem::exists(typed, error)) return typed;
    const std::string saved = SnapshotSavePath(typed);
    return std::filesystem::exists(saved, error) ? saved : typed;
}

std::optional<NamedSnapshot> LoadNamedSnapshot(CliContext& context, const std::string& typed, bool json, int& exitCode) {
    const std::string path = SnapshotPathFor(typed);
    if (auto problem = OpenProblem(path)) {
        exitCode = Report(context, path, *problem, json);
        return std::nullopt;
    }
    SnapshotLoadResult result = LoadSnapshotFile(path);
    if (auto* error = std::get_if<SnapshotLoadError>(&result)) {
        const int code = error->kind == SnapshotLoadError::Kind::Unreadable ? kExitEnvironment : kExitBadInput;
        exitCode = Report(context, path, {code, error->message, ReasonOf(*error)}, json);
        return std::nullopt;
    }
    return NamedSnapshot{path, std::move(std::get<LoadedSnapshot>(result))};
}

}  // namespace lumbra::cli
