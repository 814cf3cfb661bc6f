#include "recovery/save_driver.h"

#include <gtest/gtest.h>

#include "recovery/copy_fixture.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::CopyFixture;
using test::ReadWholeFile;
using test::VolumePlan;

VolumePlan SavingVolume() {
    VolumePlan volume{.name = "DATA"};
    uint64_t docs = volume.addFolder("Documents");
    uint64_t letters = volume.addFolder("Letters", docs);
    uint64_t dots = volume.addFolder("..", 0);
    volume.addFolder("Nothing", 0);
    volume.addFile("Report.doc", docs, 12345);
    volume.addFile("Note.txt", letters, 4096);
    volume.addFile("Empty", 0, 0);
    volume.addFile("Top.bin", 0, 9000);
    volume.addFile("Lost.txt", 777, 10);  // its folder was never found
    volume.addFile("Escape.txt", dots, 5);
    volume.folders.push_back({.id = 2000, .parent = 555, .name = "Orphan"});
    volume.addFile("InOrphan.txt", 2000, 33);
    return volume;
}

class SaveDriver : public ::testing::Test {
protected:
    SaveDriver() : fixture(test::BuildVolume(SavingVolume())) {}

    SaveSummary Save(const SaveSelection& selection) {
        CopyContext context = fixture.context();
        return SaveRecoveredFiles(context, fixture.mounted.tree, selection, root().string());
    }
    fs::path root() const { return fixture.destination.path(); }
    size_t FolderIndex(const std::string& name) const {
        const auto& folders = fixture.mounted.tree.folders();
        for (size_t i = 0; i < folders.size(); ++i)
            if (folders[i].name == name) return i;
        throw std::runtime_error("no folder " + name);
    }
    size_t FileIndex(const std::string& name) const { return fixture.fileIndex(name); }
    CopyFixture fixture;
};

TEST_F(SaveDriver, RecoverAllRecreatesTheFoldersAndCopiesEveryFileByteForByte) {
    SaveSummary summary = Save({.everything = true});
    EXPECT_EQ(ReadWholeFile(root() / "Documents" / "Report.doc"), fixture.expected("Report.doc"));
    EXPECT_EQ(ReadWholeFile(root() / "Documents" / "Letters" / "Note.txt"), fixture.expected("Note.txt"));
    EXPECT_EQ(ReadWholeFile(root() / "Top.bin"), fixture.expected("Top.bin"));
    EXPECT_EQ(ReadWholeFile(root() / "Dir0" / "Orphan" / "InOrphan.txt"), fixture.expected("InOrphan.txt"));
    EXPECT_EQ(summary.saved, 6u);
    EXPECT_EQ(summary.skipped, 1u);  // the empty file
    EXPECT_EQ(summary.empty, 1u);
    EXPECT_EQ(summary.failed, 0u);
    EXPECT_EQ(summary.shortFiles, 0u);
    EXPECT_EQ(summary.bytes, 12345u + 4096 + 9000 + 10 + 5 + 33);
    EXPECT_EQ(fixture.flags.savedFiles.load(), 6u);
    EXPECT_EQ(fixture.observer.finished.size(), 7u);
    EXPECT_EQ(fixture.observer.doneSignals, 1);
}

TEST_F(SaveDriver, AFileWhoseFolderIsMissingGoesToTheDestinationItself) {
    Save({.everything = true});
    EXPECT_EQ(ReadWholeFile(root() / "Lost.txt"), fixture.expected("Lost.txt"));
}

TEST_F(SaveDriver, AFolderNamedDotDotStaysInsideTheDestination) {
    Save({.everything = true});
    EXPECT_EQ(ReadWholeFile(root() / "_.." / "Escape.txt"), fixture.expected("Escape.txt"));
    EXPECT_FALSE(fs::exists(root().parent_path() / "Escape.txt"));
}

TEST_F(SaveDriver, EmptyFoldersAndFoldersOfFilteredFilesAreNotCreated) {
    fixture.filters = {"*.txt"};
    SaveSummary summary = Save({.everything = true});
    EXPECT_FALSE(fs::exists(root() / "Nothing"));
    EXPECT_FALSE(fs::exists(root() / "Documents" / "Report.doc"));
    EXPECT_TRUE(fs::exists(root() / "Documents" / "Letters" / "Note.txt"));
    EXPECT_FALSE(fs::exists(root() / "Top.bin"));
    EXPECT_EQ(summary.saved, 4u);
    EXPECT_EQ(summary.skipped, 3u);
}

TEST_F(SaveDriver, RecoverSelectedTakesTheSubtreeOfAFolderAndTheFilesChosen) {
    SaveSelection selection{.folderIndexes = {FolderIndex("Documents")}, .fileIndexes = {FileIndex("Top.bin")}};
    EXPECT_EQ(SelectedFiles(fixture.mounted.tree, selection),
              (std::vector<size_t>{FileIndex("Report.doc"), FileIndex("Note.txt"), FileIndex("Top.bin")}));
    SaveSummary summary = Save(selection);
    EXPECT_EQ(summary.saved, 3u);
    EXPECT_TRUE(fs::exists(root() / "Documents" / "Letters" / "Note.txt"));
    EXPECT_FALSE(fs::exists(root() / "Lost.txt"));
}

TEST_F(SaveDriver, AFolderNameTakenByAFileIsACreationErrorAndNoStopsTheRun) {
    test::WriteWholeFile(root() / "Documents", "a file, not a folder");
    fixture.answer = false;
    SaveSummary summary = Save({.everything = true});
    // The question names the path that was tried, folders included, and the file counts in
    // "Total Files" as every file that reached its creation does.
    ASSERT_EQ(fixture.questions.size(), 1u);
    const std::string tried = (root() / "Documents" / "Report.doc").string();
    EXPECT_EQ(fixture.questions[0], "Error creating file : " + tried +
                                        ".  Continue Recovery ? \r\nSomething that is not a folder has this name.");
    ASSERT_EQ(fixture.observer.started.size(), 1u);
    EXPECT_EQ(fixture.observer.started[0].path, tried);
    EXPECT_EQ(fixture.flags.savedFiles.load(), 1u);
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.failed, 1u);
    EXPECT_EQ(summary.saved, 0u);
}

TEST_F(SaveDriver, ASymbolicLinkInPlaceOfAFolderIsNotFollowed) {
    test::ScratchFolder outside("outside");
    fs::create_directory_symlink(outside.path(), root() / "Documents");
    SaveSummary summary = Save({.everything = true});
    EXPECT_TRUE(fs::is_empty(outside.path()));
    EXPECT_EQ(summary.failed, 2u);  // Report.doc and Note.txt; the run goes on after Yes
    EXPECT_TRUE(fs::exists(root() / "Top.bin"));
}

TEST_F(SaveDriver, TwoRunsIntoTheSameFolderRenameTheSecondCopies) {
    Save({.everything = true});
    Save({.folderIndexes = {FolderIndex("Letters")}});
    EXPECT_EQ(ReadWholeFile(root() / "Documents" / "Letters" / "Copy (1 ) of Note.txt"), fixture.expected("Note.txt"));
    EXPECT_EQ(fixture.flags.savedFiles.load(), 1u);  // counted from 0 for each run
}

// A file whose writing failed leaves nothing under its name, so a retry that skips duplicates
// writes it instead of keeping a broken copy.
TEST_F(SaveDriver, AFailedWriteLeavesNothingForARetryToSkip) {
    test::FullDiskFiles fullDisk(5000);
    CopyContext full = fixture.context(fullDisk);
    SaveSummary failedRun = SaveRecoveredFiles(full, fixture.mounted.tree, {.fileIndexes = {FileIndex("Report.doc")}},
                                               root().string());
    EXPECT_EQ(failedRun.failed, 1u);
    EXPECT_FALSE(fs::exists(root() / "Documents" / "Report.doc"));

    fixture.duplicateAction = kSkipDuplicates;
    SaveSummary retry = Save({.fileIndexes = {FileIndex("Report.doc")}});
    EXPECT_EQ(retry.saved, 1u);
    EXPECT_EQ(retry.skipped, 0u);
    EXPECT_EQ(ReadWholeFile(root() / "Documents" / "Report.doc"), fixture.expected("Report.doc"));
}

// A record whose first block lies past its pool: the file is created, holds what the pool gave
// (nothing) and is counted and reported as cut short.
TEST(SaveDriverCutShort, AFileCutShortIsSavedAndCountedSo) {
    VolumePlan volume{.name = "DATA"};
    volume.files.push_back({.name = "Past.bin", .size = 9000, .tweaks = {.firstBlockField = uint64_t{1} << 40}});
    CopyFixture fixture(test::BuildVolume(volume));
    CopyContext context = fixture.context();
    const fs::path root = fixture.destination.path();
    SaveSummary summary = SaveRecoveredFiles(context, fixture.mounted.tree, {.everything = true}, root.string());
    EXPECT_EQ(summary.saved, 1u);
    EXPECT_EQ(summary.shortFiles, 1u);
    EXPECT_EQ(fixture.observer.finished, std::vector<CopyOutcome>{CopyOutcome::CutShort});
    EXPECT_EQ(fs::file_size(root / "Past.bin"), 0u);
}

// Entries of one folder whose safe names are equal: a folder and a file, or two folders. The
// later one takes the duplicate name, whatever the duplicate setting, so every file is written.
TEST(SaveDriverNames, EntriesWhoseSafeNamesCollideAreAllWritten) {
    VolumePlan volume{.name = "DATA"};
    uint64_t slash = volume.addFolder("a/b");
    uint64_t underscore = volume.addFolder("a_b");
    uint64_t early = volume.addFolder("Early");
    uint64_t late = volume.addFolder("Late");
    volume.addFile("x.txt", slash, 100);
    volume.addFile("x.txt", underscore, 200);
    volume.addFile("Late", 0, 300);     // a file written before the folder of the same name
    volume.addFile("in.txt", late, 400);
    volume.addFile("in.txt", early, 500);
    volume.addFile("Early", 0, 600);    // a file after the folder of the same name
    CopyFixture fixture(test::BuildVolume(volume));
    fixture.duplicateAction = kSkipDuplicates;
    CopyContext context = fixture.context();
    const fs::path root = fixture.destination.path();
    SaveSummary summary = SaveRecoveredFiles(context, fixture.mounted.tree, {.everything = true}, root.string());
    EXPECT_EQ(summary.saved, 6u);
    EXPECT_EQ(summary.failed + summary.skipped, 0u);
    EXPECT_TRUE(fixture.questions.empty());
    EXPECT_EQ(fs::file_size(root / "a_b" / "x.txt"), 100u);
    EXPECT_EQ(fs::file_size(root / "Copy (1 ) of a_b" / "x.txt"), 200u);
    EXPECT_EQ(fs::file_size(root / "Late"), 300u);
    EXPECT_EQ(fs::file_size(root / "Copy (1 ) of Late" / "in.txt"), 400u);
    EXPECT_EQ(fs::file_size(root / "Early" / "in.txt"), 500u);
    EXPECT_EQ(fs::file_size(root / "Copy (1 ) of Early"), 600u);

    // A second run into the same destination finds the same folders again.
    fixture.duplicateAction = kOverwriteDuplicates;
    SaveRecoveredFiles(context, fixture.mounted.tree, {.everything = true}, root.string());
    EXPECT_FALSE(fs::exists(root / "Copy (2 ) of a_b"));
    EXPECT_FALSE(fs::exists(root / "Copy (1 ) of a_b" / "Copy (1 ) of x.txt"));
}

}  // namespace
}  // namespace lumbra
