#pragma once
// The flags and counter shared between the saving worker and the saving window, and what the
// saving reports. The desktop's saving window implements the observer; the command line
// prints a progress line; tests record.
#include <atomic>
#include <cstdint>
#include <string>

namespace lumbra {

struct SavingFlags {
    // 1: skip the rest of the current file ("S&kip File"). Cleared at the start of every file.
    std::atomic<int32_t> skip{0};
    // 1: stop ("&Stop Saving", or No to the error question); every copy then returns at once.
    std::atomic<int32_t> stopSaving{0};
    // Files of recover mode that reached the writing stage (counted before the file is
    // created, so one whose creation or writing fails counts too) since it was last set to 0.
    std::atomic<uint32_t> savedFiles{0};

    // Every browse-view action that may open a file, and every new recovery run, clears both
    // flags: a stop belongs to the run it ended.
    void ClearStops() {
        skip.store(0);
        stopSaving.store(0);
    }
};

// How one call of CopyRecoveredFile ended.
enum class CopyOutcome {
    Copied,            // the file was created and holds all its data
    CutShort,          // the file was created and holds only the start of its data: Skip,
                       // Stop, or the end of its pool or of the disk came first
    EmptyFile,         // size 0: nothing is created
    Stopped,           // the stop-saving flag was set before the file began
    FilteredOut,       // no file filter matched its name
    DuplicateSkipped,  // the target existed and duplicates are skipped
    CreationFailed,    // the file could not be created
    WriteFailed,       // writing or closing it failed (a full disk): it is removed again
    ReplacesInput,     // the target is a file the run reads: nothing is written, the run stops
    AlreadySaved,      // resuming: the file's copy from the earlier run is whole (or a later
                       // file of that run took its name, as the duplicate setting said)
    EarlierKept,       // Skip or Stop cut short a copy meant to replace an earlier file: the
                       // copy is dropped and the earlier file stays as it was
};

struct CopyResult {
    CopyOutcome outcome = CopyOutcome::EmptyFile;
    uint64_t bytesWritten = 0;
    std::string path;  // the target on the destination, once chosen
    std::string input;  // ReplacesInput: the input the target is

    // The routine's yes: the target file was created and written, whole or cut short.
    bool copied() const { return outcome == CopyOutcome::Copied || outcome == CopyOutcome::CutShort; }
};

class SavingObserver {
public:
    virtual ~SavingObserver() = default;
    // A file reached the writing stage: the saving window's "Path", "File Name" (8-bit, after
    // renaming) and "Total Files" (the saved-files counter before this file); progress is 0.
    virtual void fileStarted(const std::string& path, const std::string& name, uint32_t totalFiles) = 0;
    // Percent of the current file written.
    virtual void fileProgress(uint32_t percent) = 0;
    // One file is done, whatever the outcome (the saving driver reports every file).
    virtual void fileFinished(const CopyResult& /*result*/) {}
    // The last file is done: the saving window closes.
    virtual void savingDone() {}
};

}  // namespace lumbra
