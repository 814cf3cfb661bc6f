#pragma once
// Which file record a saving run wrote under which name, kept in a small file in the
// destination. A resumed run follows each record to its own copy, so two records of one name
// in one folder never meet each other's copies, and a copy is only ever written again in place
// when it is the cut-short copy of the very record being copied.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "recovery/destination_files.h"
#include "recovery/item_record.h"

namespace lumbra {

// The ledger's file name in the destination folder.
constexpr const char* kRunLedgerName = ".lumbra-extract-state";

// What a resumed run does with one record, from what the earlier runs noted.
struct ResumePlan {
    enum class Kind {
        Fresh,        // never begun: the duplicate setting decides as in a run of its own
        FreshKeep,    // its copy was changed since: a fresh name, never over the file there
        AlreadyThere, // its copy is whole, or a later record of the run took the name on purpose
        RewriteAt,    // its copy at `path` is cut short (or missing): written again in its place
    };
    Kind kind = Kind::Fresh;
    std::string path;
};

class RunLedger {
public:
    // Starts the ledger of a new run in `destination` (an earlier ledger there is replaced), or,
    // resuming, reads the earlier one and goes on with it. nullopt when the ledger cannot be
    // written; `failure` then says why.
    static std::optional<RunLedger> Open(DestinationFiles& files, const std::string& destination, bool resume,
                                         std::string& failure);
    RunLedger(RunLedger&& other) noexcept;
    RunLedger& operator=(RunLedger&&) = delete;
    RunLedger(const RunLedger&) = delete;
    ~RunLedger();

    // The record about to be saved (called once per record, in file-list order): what the
    // earlier runs say about it. Later notes are about this record.
    ResumePlan Begin(const ItemRecord& file, const DestinationFiles& files);
    // The current record's copy is about to be written at path: a new file, or replacing one.
    void Writing(const std::string& path, bool replacing);
    // The current record's copy at path is as whole as it will get: `bytes` long.
    void Whole(const std::string& path, uint64_t bytes);

    // The ledger's own path: no recovered file takes it.
    const std::string& path() const { return path_; }
    // True when a note could not be written: a resume may then not know every copy.
    bool failed() const { return failed_; }
    // Resuming: true when an earlier run's ledger was found and is gone on with.
    bool continued() const { return continued_; }

private:
    struct Note {
        char kind = 0;  // 'N' new file, 'R' replacing, 'W' whole
        std::string path;
        uint64_t bytes = 0;  // 'W': the length the copy was left with
    };
    RunLedger(int fd, std::string destination, std::string path);
    void Append(char kind, const std::string& path, uint64_t bytes);
    void Read(const std::string& text);
    std::string Relative(const std::string& path) const;

    int fd_;
    std::string destination_;
    std::string path_;
    std::string currentKey_;
    std::unordered_map<std::string, uint32_t> seen_;          // key -> records of it met so far
    std::unordered_map<std::string, Note> lastNote_;          // key -> its last note of the earlier runs
    std::unordered_map<std::string, std::string> ownerOf_;    // relative path -> key whose copy is there
    bool failed_ = false;
    bool continued_ = false;
};

}  // namespace lumbra
