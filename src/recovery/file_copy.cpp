#include "recovery/file_copy.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "disk/sector.h"
#include "recovery/file_condition.h"
#include "recovery/name_match.h"
#include "recovery/run_ledger.h"
#include "recovery/safe_file_name.h"

namespace lumbra {
namespace {

bool Raised(const std::atomic<int32_t>& flag) { return flag.load(std::memory_order_relaxed) != 0; }

enum class Target { Write, Skip };

// The destination's name for an 8-bit name, or for the name in full when the record has one.
std::string DestinationName(std::string_view name, std::string_view fullName) {
    return fullName.empty() ? SafeFileName(name) : SafeFullFileName(fullName);
}

// Applies the duplicate setting; path and name then hold the target. A folder the saving made
// in this run, or the run's ledger, is never the target of a file, whatever the setting: the
// file takes the next free name instead. Resuming, a file's own cut-short copy is its target.
Target ResolveDuplicate(CopyContext& context, const std::string& folder, std::string& name, std::string_view fullName,
                        std::string& path) {
    if (context.rewriteAt) {
        path = *context.rewriteAt;
        return Target::Write;
    }
    if (!context.files.exists(path)) return Target::Write;
    const bool reserved = (context.folderPaths && context.folderPaths->count(path) != 0) ||
                          (context.ledger && context.ledger->path() == path);
    if (!reserved && context.duplicateAction == kSkipDuplicates) return Target::Skip;
    if (!reserved && context.duplicateAction != kRenameDuplicates) return Target::Write;
    for (uint32_t n = 1;; ++n) {
        std::string candidate = DuplicateCandidate(n, name);
        const std::string fullCandidate = fullName.empty() ? std::string() : DuplicateCandidate(n, fullName);
        std::string candidatePath = JoinPath(folder, DestinationName(candidate, fullCandidate));
        if (!context.files.exists(candidatePath)) {
            name = std::move(candidate);
            path = std::move(candidatePath);
            return Target::Write;
        }
    }
}

enum class CopyEnd { Done, Interrupted, WriteFailed };

// The copy loop: up to `size` bytes, ending early at Skip, Stop (Interrupted), the end of the
// pool or the end of the disk (Done). It follows the file's layout, so a block split between two
// segments is read from both.
CopyEnd CopyBlocks(CopyContext& context, DestinationFile& file, uint64_t firstBlock, uint64_t size,
                   CopyMode mode, uint64_t& written) {
    const FileLayout layout =
        LayFileOut(context.pool, context.reader.sectorCount(), firstBlock, static_cast<int64_t>(size));
    std::vector<uint8_t> buffer(size_t{kCopyRunBlocks} * kBlockSize);
    for (const DiskRun& run : layout.runs) {
        for (uint64_t done = 0; done < run.length;) {
            if (Raised(context.flags.skip) || Raised(context.flags.stopSaving)) return CopyEnd::Interrupted;
            const size_t n = static_cast<size_t>(std::min<uint64_t>(run.length - done, buffer.size()));
            const auto sectors = static_cast<uint32_t>((n + kSectorSize - 1) / kSectorSize);
            std::fill_n(buffer.begin(), size_t{sectors} * kSectorSize, uint8_t{0});
            context.reader.ReadSectors((run.diskOffset + done) / kSectorSize, sectors, buffer.data());
            errno = 0;
            if (!file.write(buffer.data(), n)) return CopyEnd::WriteFailed;
            written += n;
            done += n;
            if (mode == CopyMode::Recover && context.observer)
                context.observer->fileProgress(static_cast<uint32_t>(written * 100 / size));
        }
    }
    return CopyEnd::Done;
}

// The system's words for errno, or `fallback` when it says nothing.
std::string ErrnoReason(int error, const char* fallback) { return error != 0 ? std::strerror(error) : fallback; }

CopyResult Failed(CopyContext& context, CopyOutcome outcome, std::string path, CopyMode mode, uint64_t written,
                  const std::string& reason) {
    if (mode == CopyMode::Recover) {
        if (context.reportError) context.reportError({outcome, path, reason});
        else AskToContinue(context, outcome == CopyOutcome::CreationFailed ? CreationErrorQuestion(path, reason)
                                                                             : WriteErrorQuestion(path));
    }
    return {outcome, written, std::move(path)};
}

}  // namespace

std::string CreationErrorQuestion(const std::string& path, const std::string& reason) {
    const std::string question = "Error creating file : " + path + ".  Continue Recovery ? ";
    return reason.empty() ? question : question + "\r\n" + reason;
}

std::string WriteErrorQuestion(const std::string& path) {
    return "Error writing file : " + path + ".  Continue Recovery ? ";
}

bool PassesFileFilters(std::string_view name, const std::vector<std::string>& filters) {
    if (filters.empty()) return true;
    const std::string upperName = UpperCase8Bit(name);
    return std::any_of(filters.begin(), filters.end(),
                       [&](const std::string& filter) { return MatchName(upperName, UpperCase8Bit(filter)); });
}

std::string DuplicateCandidate(uint32_t n, std::string_view name) {
    return "Copy (" + std::to_string(n) + " ) of " + std::string(name);
}

std::string JoinPath(const std::string& folder, const std::string& fileName) {
    if (!folder.empty() && folder.back() == '/') return folder + fileName;
    return folder + "/" + fileName;
}

void AskToContinue(CopyContext& context, const std::string& question) {
    const bool goOn = context.askContinue && context.askContinue(question);
    if (!goOn) context.flags.stopSaving.store(1);
}

CopyResult CopyRecoveredFile(CopyContext& context, const std::string& folder, std::string& name,
                             uint64_t firstBlock, int64_t size, CopyMode mode, bool folderMade,
                             std::string_view fullName) {
    if (size <= 0) return {CopyOutcome::EmptyFile, 0, {}};
    if (Raised(context.flags.stopSaving)) return {CopyOutcome::Stopped, 0, {}};
    context.flags.skip.store(0);
    std::string path = JoinPath(folder, DestinationName(name, fullName));
    if (mode == CopyMode::Recover) {
        if (!PassesFileFilters(name, context.filters)) return {CopyOutcome::FilteredOut, 0, {}};
        if (folderMade && ResolveDuplicate(context, folder, name, fullName, path) == Target::Skip)
            return {CopyOutcome::DuplicateSkipped, 0, path};
    }
    if (auto input = context.files.inputAt(path)) {
        // Writing on what is being read destroys it: the whole run ends here.
        if (mode == CopyMode::Recover) context.flags.stopSaving.store(1);
        return {CopyOutcome::ReplacesInput, 0, path, std::move(*input)};
    }
    if (mode == CopyMode::Recover) {
        if (context.observer) context.observer->fileStarted(path, name, context.flags.savedFiles.load());
        context.flags.savedFiles.fetch_add(1);
    }
    const bool replacing = folderMade && context.files.exists(path);
    if (folderMade && context.ledger) context.ledger->Writing(path, replacing);
    std::unique_ptr<DestinationFile> file = folderMade ? context.files.create(path) : nullptr;
    if (!file) return Failed(context, CopyOutcome::CreationFailed, path, mode, 0, context.files.lastFailure());
    uint64_t written = 0;
    const CopyEnd end = CopyBlocks(context, *file, firstBlock, static_cast<uint64_t>(size), mode, written);
    // A file whose data could not be stored is no copy at all; left under its name, a later run
    // that skips duplicates would keep it. An earlier copy it was to replace stays, as it does
    // when Skip or Stop cut the replacement short.
    if (end == CopyEnd::WriteFailed) {
        const std::string reason = ErrnoReason(errno, "the data could not all be stored");
        file->abandon();
        return Failed(context, CopyOutcome::WriteFailed, path, mode, written, reason);
    }
    if (end == CopyEnd::Interrupted && replacing) {
        file->abandon();
        return {CopyOutcome::EarlierKept, written, path};
    }
    errno = 0;
    if (!file->close())
        return Failed(context, CopyOutcome::WriteFailed, path, mode, written,
                      ErrnoReason(errno, "the data could not all be stored"));
    if (end == CopyEnd::Done && context.ledger) context.ledger->Whole(path, written);
    const bool whole = written == static_cast<uint64_t>(size);
    return {whole ? CopyOutcome::Copied : CopyOutcome::CutShort, written, path};
}

}  // namespace lumbra
