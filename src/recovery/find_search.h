#pragma once
// Find Files: one pass over the file list, keeping the files whose upper-cased name matches the
// upper-cased search string under MatchName. Runs on a worker of its own that the Find window
// can pause (while it asks whether to stop), resume and cancel.
#include <cstdint>
#include <string>
#include <string_view>
#include <atomic>
#include <thread>

#include "recovery/record_lists.h"
#include "recovery/search_control.h"

namespace lumbra {

// One result row of the Find window.
struct FindRow {
    std::string fileName;     // "File Name": the upper-cased name (8-bit)
    std::string path;         // "Path": "\" and the tree path of the parent folder (8-bit)
    uint32_t size = 0;        // "Size": the low 32 bits of the size, unsigned
    uint64_t itemNumber = 0;  // the file record's itemNumber
};

class FindResultSink {
public:
    virtual ~FindResultSink() = default;
    // A whole row; filesFound is the number of rows so far ("Files Found", with "Last File"
    // the row's fileName).
    virtual void rowFound(const FindRow& row, uint32_t filesFound) = 0;
    // The search ended, through the whole list or cancelled: the worker's last call, after
    // which running() turns false.
    virtual void searchEnded(bool /*cancelled*/) {}
};

struct FindOutcome {
    uint32_t filesFound = 0;
    bool cancelled = false;
};

// The search on the calling thread; searchEnded is left to the caller. The control is looked
// at before every file, so a cancelled search has delivered whole rows only.
FindOutcome RunFindSearch(const RecoveredTree& tree, std::string_view searchText, FindResultSink& sink,
                       SearchControl& control);

// The search worker of the Find window. Nothing writes the record lists while it runs.
class FindSearchWorker {
public:
    FindSearchWorker() = default;
    ~FindSearchWorker();  // cancels and waits
    FindSearchWorker(const FindSearchWorker&) = delete;
    FindSearchWorker& operator=(const FindSearchWorker&) = delete;

    // Starts a search unless one is running; false when one is.
    bool start(const RecoveredTree& tree, std::string searchText, FindResultSink& sink);
    void pause() { control_.pause(); }
    void resume() { control_.resume(); }
    void cancel() { control_.cancel(); }
    // Waits for the worker to end.
    void wait();
    bool running() const { return running_.load(); }

private:
    SearchControl control_;
    std::thread thread_;
    std::atomic<bool> running_{false};
};

}  // namespace lumbra
