#include "recovery/find_search.h"

#include "recovery/folder_path.h"
#include "recovery/name_match.h"

namespace lumbra {

FindOutcome RunFindSearch(const RecoveredTree& tree, std::string_view searchText, FindResultSink& sink,
                       SearchControl& control) {
    const std::string pattern = UpperCase8Bit(searchText);
    FindOutcome outcome;
    for (const ItemRecord& file : tree.files()) {
        if (!control.checkpoint()) {
            outcome.cancelled = true;
            break;
        }
        std::string upperName = UpperCase8Bit(file.name);
        if (!MatchName(upperName, pattern)) continue;
        FindRow row{std::move(upperName), FindFilesPath(tree, file.parentId),
                    static_cast<uint32_t>(static_cast<uint64_t>(file.size)), file.itemNumber};
        sink.rowFound(row, ++outcome.filesFound);
    }
    return outcome;
}

FindSearchWorker::~FindSearchWorker() {
    cancel();
    wait();
}

bool FindSearchWorker::start(const RecoveredTree& tree, std::string searchText, FindResultSink& sink) {
    if (running_.load()) return false;
    wait();
    control_.reset();
    running_.store(true);
    thread_ = std::thread([this, &tree, text = std::move(searchText), &sink] {
        const FindOutcome outcome = RunFindSearch(tree, text, sink, control_);
        sink.searchEnded(outcome.cancelled);
        running_.store(false);
    });
    return true;
}

void FindSearchWorker::wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace lumbra
