#include "recovery/file_copy.h"

#include <algorithm>
#include <memory>

#include "discovery/pool_mapping.h"
#include "disk/sector.h"
#include "recovery/name_match.h"
#include "recovery/safe_file_name.h"

namespace lumbra {
namespace {

bool Raised(const std::atomic<int32_t>& flag) { return flag.load(std::memory_order_relaxed) != 0; }

// Consecutive blocks from `block` that lie consecutively on the disk, at most `limit`.
uint32_t ConsecutiveRun(const SelectedPool& pool, uint64_t block, uint64_t firstSector, uint32_t limit) {
    uint32_t run = 1;
    while (run < limit) {
        auto sector = PoolBlockToDiskSector(pool, block + run);
        if (!sector || *sector != firstSector + uint64_t{kSectorsPerBlock} * run) break;
        ++run;
    }
    return run;
}

// Applies the duplicate setting. False when the file is to be skipped; otherwise path and
// name hold the target.
bool ResolveDuplicate(CopyContext& context, const std::string& folder, std::string& name, std::string& path) {
    if (!context.files.exists(path)) return true;
    if (context.duplicateAction == kSkipDuplicates) return false;
    if (context.duplicateAction != kRenameDuplicates) return true;
    for (uint32_t n = 1;; ++n) {
        std::string candidate = DuplicateCandidate(n, name);
        std::string candidatePath = JoinPath(folder, SafeFileName(candidate));
        if (!context.files.exists(candidatePath)) {
            name = std::move(candidate);
            path = std::move(candidatePath);
            return true;
        }
    }
}

// The copy loop; false when a write failed.
bool CopyBlocks(CopyContext& context, DestinationFile& file, uint64_t firstBlock, uint64_t size,
                CopyMode mode, uint64_t& written) {
    std::vector<uint8_t> buffer(size_t{kCopyRunBlocks} * kBlockSize);
    uint64_t block = firstBlock;
    while (!Raised(context.flags.skip) && !Raised(context.flags.stopSaving) && written < size) {
        auto sector = PoolBlockToDiskSector(context.pool, block);
        if (!sector) break;
        const uint64_t blocksLeft = (size - written + kBlockSize - 1) / kBlockSize;
        const uint32_t limit = static_cast<uint32_t>(std::min<uint64_t>(blocksLeft, kCopyRunBlocks));
        const uint32_t run = ConsecutiveRun(context.pool, block, *sector, limit);
        const size_t runBytes = size_t{run} * kBlockSize;
        std::fill_n(buffer.begin(), runBytes, uint8_t{0});
        context.reader.ReadSectors(*sector, run * kSectorsPerBlock, buffer.data());
        const size_t n = static_cast<size_t>(std::min<uint64_t>(size - written, runBytes));
        if (!file.write(buffer.data(), n)) return false;
        written += n;
        block += run;
        if (mode == CopyMode::Recover && context.observer)
            context.observer->fileProgress(static_cast<uint32_t>(written * 100 / size));
    }
    return true;
}

CopyResult Failed(CopyContext& context, CopyOutcome outcome, std::string path, CopyMode mode, uint64_t written) {
    if (mode == CopyMode::Recover) {
        AskToContinue(context, outcome == CopyOutcome::CreationFailed ? CreationErrorQuestion(path)
                                                                      : WriteErrorQuestion(path));
    }
    return {outcome, written, std::move(path)};
}

}  // namespace

std::string CreationErrorQuestion(const std::string& path) {
    return "Error creating file : " + path + ".  Continue Recovery ? ";
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
                             uint64_t firstBlock, int64_t size, CopyMode mode) {
    if (size <= 0) return {CopyOutcome::EmptyFile, 0, {}};
    if (Raised(context.flags.stopSaving)) return {CopyOutcome::Stopped, 0, {}};
    context.flags.skip.store(0);
    std::string path = JoinPath(folder, SafeFileName(name));
    if (mode == CopyMode::Recover) {
        if (!PassesFileFilters(name, context.filters)) return {CopyOutcome::FilteredOut, 0, {}};
        if (!ResolveDuplicate(context, folder, name, path)) return {CopyOutcome::DuplicateSkipped, 0, path};
        if (context.observer) context.observer->fileStarted(path, name, context.flags.savedFiles.load());
    }
    std::unique_ptr<DestinationFile> file = context.files.create(path);
    if (!file) return Failed(context, CopyOutcome::CreationFailed, path, mode, 0);
    uint64_t written = 0;
    const bool wrote = CopyBlocks(context, *file, firstBlock, static_cast<uint64_t>(size), mode, written);
    if (!file->close() || !wrote) return Failed(context, CopyOutcome::WriteFailed, path, mode, written);
    if (mode == CopyMode::Recover) context.flags.savedFiles.fetch_add(1);
    return {CopyOutcome::Copied, written, path};
}

}  // namespace lumbra
