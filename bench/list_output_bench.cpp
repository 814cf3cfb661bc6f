// The list command's two writers over one recovered tree of 1,100,000 records (100,000
// folders, 1,000,000 files): the JSON form must cost no more than the plain-text form.
// Prints the ratio JSON time / text time (target at most 1.2).
#include <cstdio>
#include <ostream>
#include <streambuf>
#include <string>

#include "cli/json_writer.h"
#include "cli/record_json.h"
#include "recovery/record_lists.h"

#include "bench_timing.h"

namespace {

constexpr uint32_t kFolders = 100000;
constexpr uint32_t kFiles = 1000000;
constexpr int kRounds = 5;

using lumbra::bench::KeepBest;
using lumbra::bench::Stopwatch;
using lumbra::bench::Timing;

// Counts what is written and keeps none of it, so that only the writers are measured.
class CountingBuffer : public std::streambuf {
public:
    uint64_t bytes = 0;

protected:
    int_type overflow(int_type c) override {
        ++bytes;
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize count) override {
        bytes += static_cast<uint64_t>(count);
        return count;
    }
};

// Folders ten to a parent below 10,000 top-level ones, ten files in each, with names and
// time stamps of the usual kind.
lumbra::RecoveredTree BuildTree() {
    lumbra::RecoveredTree tree;
    for (uint32_t i = 0; i < kFolders; ++i) {
        const uint64_t parent = i < 10000 ? 0 : 1000 + (i - 10000) / 10;
        tree.AddFolderRecord("Folder " + std::to_string(i), 1000 + i, parent, tree.folderCounter++,
                             1078477651 + i);
    }
    for (uint32_t i = 0; i < kFiles; ++i) {
        tree.AddFileRecord("Document number " + std::to_string(i) + ".doc", 2000000 + i, 1000 + i / 10,
                           tree.fileCounter++, 5000 + i, 3, 9000 + i, 1078477651 + i);
    }
    return tree;
}

template <typename Write>
Timing Best(Write write, uint64_t& bytes) {
    Timing best;
    for (int round = 0; round < kRounds; ++round) {
        CountingBuffer buffer;
        std::ostream out(&buffer);
        Stopwatch watch;
        write(out);
        KeepBest(best, watch.elapsed());
        bytes = buffer.bytes;
    }
    return best;
}

}  // namespace

int main() {
    const lumbra::RecoveredTree tree = BuildTree();
    uint64_t textBytes = 0, jsonBytes = 0;
    const Timing text = Best([&](std::ostream& out) { lumbra::cli::PrintRecordLists(out, tree); }, textBytes);
    const Timing json = Best(
        [&](std::ostream& out) {
            lumbra::cli::JsonWriter writer(out);
            writer.beginObject();
            lumbra::cli::WriteRecordLists(writer, tree);
            writer.endObject().finish();
        },
        jsonBytes);
    std::printf("best of %d rounds over %u records   wall s   cpu s\n", kRounds, kFolders + kFiles);
    std::printf("list, text                          %7.3f %7.3f   (%llu bytes)\n", text.wall, text.cpu,
                static_cast<unsigned long long>(textBytes));
    std::printf("list --json                         %7.3f %7.3f   (%llu bytes)\n", json.wall, json.cpu,
                static_cast<unsigned long long>(jsonBytes));
    std::printf("ratio json / text: wall %.2f, cpu %.2f (target at most 1.2)\n", json.wall / text.wall,
                json.cpu / text.cpu);
    return 0;
}
