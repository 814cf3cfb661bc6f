#include "recovery/find_search.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "recovery/mounted_image.h"
#include "support/numbered_name.h"

namespace lumbra {
namespace {

using test::VolumePlan;

struct CollectingSink : FindResultSink {
    void rowFound(const FindRow& row, uint32_t filesFound) override {
        std::lock_guard lock(mutex);
        rows.push_back(row);
        counts.push_back(filesFound);
        if (onRow) onRow(row);
        changed.notify_all();
    }
    void searchEnded(bool wasCancelled) override {
        std::lock_guard lock(mutex);
        ended = true;
        cancelled = wasCancelled;
        changed.notify_all();
    }
    size_t rowCount() {
        std::lock_guard lock(mutex);
        return rows.size();
    }
    void waitForEnd() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return ended; });
    }
    // Until `count` rows have come or the search has ended, however busy the machine is.
    void waitForRows(size_t count) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return rows.size() >= count || ended; });
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<FindRow> rows;
    std::vector<uint32_t> counts;
    std::function<void(const FindRow&)> onRow;
    bool ended = false;
    bool cancelled = false;
};

std::vector<FindRow> Search(const RecoveredTree& tree, std::string_view text) {
    CollectingSink sink;
    SearchControl control;
    RunFindSearch(tree, text, sink, control);
    return sink.rows;
}

class FindFiles : public ::testing::Test {
protected:
    FindFiles() : mounted(test::BuildVolume(Volume())) { mounted.MountVolumeBased(); }

    static VolumePlan Volume() {
        VolumePlan volume{.name = "DATA"};
        uint64_t docs = volume.addFolder("Documents");
        uint64_t letters = volume.addFolder("Letters", docs);
        volume.addFile("Report.doc", docs, 12345);
        volume.addFile("letter.DOC", letters, 100);
        volume.addFile("readme.txt", 0, 10);
        volume.addFile("mydocs.zip", 777, 5000000000ull);  // parent missing: an orphan
        volume.addFile("notes.txt", letters, 20);
        return volume;
    }
    test::MountedImage mounted;
};

TEST_F(FindFiles, DocListsEveryNameHoldingItUpperCasedInListOrder) {
    auto rows = Search(mounted.tree, "doc");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].fileName, "REPORT.DOC");
    EXPECT_EQ(rows[0].path, "\\Documents");
    EXPECT_EQ(rows[0].size, 12345u);
    EXPECT_EQ(rows[1].fileName, "LETTER.DOC");
    EXPECT_EQ(rows[1].path, "\\Documents\\Letters");
    EXPECT_EQ(rows[2].fileName, "MYDOCS.ZIP");
}

TEST_F(FindFiles, RootFilesAndOrphansShowTheBackslashAlone) {
    auto rows = Search(mounted.tree, "*.*");
    ASSERT_EQ(rows.size(), 5u);
    for (const FindRow& row : rows) {
        if (row.fileName == "README.TXT" || row.fileName == "MYDOCS.ZIP") {
            EXPECT_EQ(row.path, "\\") << row.fileName;
        }
    }
}

TEST_F(FindFiles, SizeShowsTheLow32BitsOnly) {
    auto rows = Search(mounted.tree, "mydocs");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].size, static_cast<uint32_t>(5000000000ull));
}

TEST_F(FindFiles, EmptySearchStringMatchesNothing) {
    CollectingSink sink;
    SearchControl control;
    FindOutcome outcome = RunFindSearch(mounted.tree, "", sink, control);
    EXPECT_EQ(outcome.filesFound, 0u);
    EXPECT_FALSE(outcome.cancelled);
}

TEST_F(FindFiles, FilesFoundCountsTheRows) {
    CollectingSink sink;
    SearchControl control;
    RunFindSearch(mounted.tree, "t", sink, control);
    EXPECT_EQ(sink.counts, (std::vector<uint32_t>{1, 2, 3, 4}));
}

TEST(FindFilesPath, ANameEndingWithABackslashIsNotFollowedByASecondOne) {
    RecoveredTree tree;
    tree.AddFolderRecord("A\\", 10, 0, 0, 0);
    tree.AddFolderRecord("B", 11, 10, 1, 0);
    tree.AddFileRecord("F", 20, 11, 0, 0, 0, 1, 0);
    tree.AddFolderRecord("Loop1", 30, 31, 2, 0);
    tree.AddFolderRecord("Loop2", 31, 30, 3, 0);
    tree.AddFileRecord("G", 21, 30, 1, 0, 0, 1, 0);
    tree.AddFileRecord("H", 22, 0x100000000ull + 11, 2, 0, 0, 1, 0);
    auto rows = Search(tree, "?");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].path, "\\A\\B");
    EXPECT_EQ(rows[1].path, "\\");       // its folders never reach the root
    EXPECT_EQ(rows[2].path, "\\A\\B");   // the parent's low half names the folder
}

// The worked results of the name rule hold with the search string as the pattern.
TEST(FindFilesMatching, WorkedResultsHoldForTheSearchString) {
    const struct {
        const char* name;
        const char* pattern;
        bool found;
    } cases[] = {
        {"REPORT.DOC", "PORT", true}, {"REPORT.DOC", "*.DOC", true}, {".TXT", "*.TXT", true},
        {"TXT", "*.TXT", false},      {"A", "*A", false},            {"BA", "*A", true},
        {"AB", "*AB", true},          {"REPORT.DOC", "R*T", false},  {"REPORT.DOC", "RE*", true},
        {"XREPORT", "RE*", false},    {"REPORT", "*.*", false},      {"ABCDE", "A?C", true},
        {"AB", "AB?", false},         {"ABCDEF", "AB?", true},       {"DATA1.DAT", "DATA?.DAT", true},
        {"DATA12.DAT", "DATA?.DAT", false}, {"FE", "F*E", false},    {"FILE", "F*E", true},
        {"X.DOC", "*.DO?", true},     {"LETTER.TXT", "*ETT*", true}, {"AB", "???", false},
        {"ABCD", "???", true},
    };
    for (const auto& c : cases) {
        RecoveredTree tree;
        tree.AddFileRecord(c.name, 1, 0, 0, 0, 0, 1, 0);
        std::string lowerPattern = c.pattern;
        for (char& ch : lowerPattern) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_EQ(Search(tree, lowerPattern).size(), c.found ? 1u : 0u) << c.name << " / " << c.pattern;
    }
}

RecoveredTree ManyFiles(size_t count) {
    RecoveredTree tree;
    for (size_t i = 0; i < count; ++i) tree.AddFileRecord(test::NumberedName("F", i), i + 1, 0, i, 0, 0, 1, 0);
    return tree;
}

TEST(FindSearchWorker, APausedSearchWaitsAndResumesWhereItStopped) {
    RecoveredTree tree = ManyFiles(100);
    CollectingSink sink;
    FindSearchWorker worker;
    sink.onRow = [&](const FindRow& row) {
        if (row.fileName == "F9") worker.pause();
    };
    ASSERT_TRUE(worker.start(tree, "f", sink));
    sink.waitForRows(10);
    // A worker that did not hold would have gone on by now.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(sink.rowCount(), 10u);
    EXPECT_TRUE(worker.running());
    EXPECT_FALSE(worker.start(tree, "f", sink));
    worker.resume();
    sink.waitForEnd();
    worker.wait();
    EXPECT_EQ(sink.rows.size(), 100u);
    EXPECT_FALSE(sink.cancelled);
    EXPECT_FALSE(worker.running());
}

TEST(FindSearchWorker, ACancelledSearchKeepsTheWholeRowsFoundSoFar) {
    RecoveredTree tree = ManyFiles(100);
    CollectingSink sink;
    FindSearchWorker worker;
    sink.onRow = [&](const FindRow& row) {
        if (row.fileName == "F4") worker.pause();
    };
    worker.start(tree, "f", sink);
    sink.waitForRows(5);
    worker.cancel();
    sink.waitForEnd();
    worker.wait();
    EXPECT_TRUE(sink.cancelled);
    ASSERT_EQ(sink.rows.size(), 5u);
    for (const FindRow& row : sink.rows) EXPECT_EQ(row.path, "\\");
    EXPECT_TRUE(worker.start(tree, "f9", sink));  // a new search after a cancelled one
    worker.wait();
}

}  // namespace
}  // namespace lumbra
