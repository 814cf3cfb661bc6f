#pragma once
// CopyRecoveredFile: writes one file record's data out of the volume into a folder of a
// healthy disk. Serves the saving of recovered files (recover mode) and Open / Open With,
// which copy one file into the temporary folder (open mode). The source is only read.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "discovery/pool_table.h"
#include "disk/sector_reader.h"
#include "recovery/destination_files.h"
#include "recovery/saving_observer.h"

namespace lumbra {

enum class CopyMode { Recover, Open };

class RunLedger;

// A file that could not be created (CreationFailed) or written (WriteFailed), and the system's
// reason; the reason is empty when none is known.
struct CopyError {
    CopyOutcome outcome = CopyOutcome::CreationFailed;
    std::string path;
    std::string reason;
};

// Values of the duplicate setting ("Setting of duplicate file(s)").
constexpr uint16_t kRenameDuplicates = 1;
constexpr uint16_t kOverwriteDuplicates = 2;
constexpr uint16_t kSkipDuplicates = 3;

// Blocks read and written in one step when they lie consecutively on the disk. The skip and
// stop flags are read before every step, so they act within this many blocks.
constexpr uint32_t kCopyRunBlocks = 32;

struct CopyContext {
    SectorReader& reader;
    const SelectedPool& pool;
    DestinationFiles& files;
    SavingFlags& flags;
    // The file filters as the user typed them; empty: every file passes.
    const std::vector<std::string>& filters;
    uint16_t duplicateAction = kRenameDuplicates;
    // Recover mode: the saving window. May be null.
    SavingObserver* observer = nullptr;
    // The error question of recover mode; answers true for Yes (go on). No sets the
    // stop-saving flag. Unset: the answer is No.
    std::function<bool(const std::string& question)> askContinue;
    // Recover mode: the folders the saving made in this run. A file whose name falls on one
    // takes the next free duplicate name whatever the duplicate setting. May be null.
    const std::unordered_set<std::string>* folderPaths = nullptr;
    // Recover mode: notes which record went under which name, for a later resume. May be null.
    RunLedger* ledger = nullptr;
    // Resuming, for one file: the path of its own cut-short copy, written again in place
    // whatever the duplicate setting. Null: the target is chosen as ever.
    const std::string* rewriteAt = nullptr;
    // Recover mode without questions (the command line): each file that cannot be created or
    // written is told here, with its reason, and the run goes on. Unset: askContinue asks.
    std::function<void(const CopyError& error)> reportError;
};

// "Error creating file : " + path + ".  Continue Recovery ? ", then the reason on a line of its
// own when one is known.
std::string CreationErrorQuestion(const std::string& path, const std::string& reason = {});
// The same question after a write error (a full disk).
std::string WriteErrorQuestion(const std::string& path);

// True when no filters are set or the upper-cased name matches one upper-cased filter.
bool PassesFileFilters(std::string_view name, const std::vector<std::string>& filters);

// "Copy (" + n + " ) of " + name.
std::string DuplicateCandidate(uint32_t n, std::string_view name);

// The folder and a file name joined by one "/".
std::string JoinPath(const std::string& folder, const std::string& fileName);

// Copies `size` bytes from consecutive pool blocks starting at firstBlock into folder/name.
// The destination name is SafeFileName(name), or SafeFullFileName(fullName) for a record with
// a name in full, so nothing is written outside `folder`. In
// recover mode the filters and the duplicate setting apply, `name` becomes the new name when a
// duplicate is renamed, and the saved-files counter counts the file before it is created. The
// copy ends early at Skip, Stop, a block the pool cannot map or the end of the disk; the file
// then keeps what was written and the outcome is CutShort, except that a copy cut short by Skip
// or Stop never replaces an earlier file: it is dropped (EarlierKept). A creation or write error asks the
// question (recover mode); a file whose writing failed is removed. folderMade false: the
// folder could not be made, so the file's creation fails (the duplicate test is not made).
CopyResult CopyRecoveredFile(CopyContext& context, const std::string& folder, std::string& name,
                             uint64_t firstBlock, int64_t size, CopyMode mode, bool folderMade = true,
                             std::string_view fullName = {});

// Asks the error question of recover mode; No sets the stop-saving flag.
void AskToContinue(CopyContext& context, const std::string& question);

}  // namespace lumbra
