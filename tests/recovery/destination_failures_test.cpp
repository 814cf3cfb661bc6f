// The rarer faults of a destination disk: a close that loses the last data, a folder that
// cannot be made, a time stamp that cannot be set, and the real file system's refusals.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "recovery/copy_fixture.h"
#include "recovery/recovery_run.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::CopyFixture;
using test::FaultyFiles;

test::VolumePlan SmallVolume() {
    test::VolumePlan volume{.name = "DATA"};
    const uint64_t docs = volume.addFolder("Docs");
    volume.addFile("Top.txt", 0, 5000);
    volume.addFile("Inner.txt", docs, 300);
    return volume;
}

class DestinationFailures : public ::testing::Test {
protected:
    DestinationFailures() : fixture(test::BuildVolume(SmallVolume())) {}
    std::string root() const { return fixture.destination.path().string(); }
    CopyFixture fixture;
    FaultyFiles faulty;
};

TEST_F(DestinationFailures, AFileWhoseCloseFailsIsAskedAboutAndRemoved) {
    faulty.closeFails = true;
    CopyContext context = fixture.context(faulty);
    std::string name = "Top.txt";
    const ItemRecord& record = fixture.file(name);
    const CopyResult result =
        CopyRecoveredFile(context, root(), name, record.firstBlock, record.size, CopyMode::Recover);
    const std::string path = fixture.destination.file("Top.txt");
    EXPECT_EQ(result.outcome, CopyOutcome::WriteFailed);
    EXPECT_FALSE(result.copied());
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(fixture.questions, std::vector<std::string>{WriteErrorQuestion(path)});
}

TEST_F(DestinationFailures, AFolderThatCannotBeMadeIsACreationErrorOfTheFilesPath) {
    faulty.foldersFail = true;
    CopyContext context = fixture.context(faulty);
    const SaveSummary summary = SaveRecoveredFiles(context, fixture.mounted.tree, {.everything = true}, root());
    EXPECT_EQ(summary.saved, 1u);
    EXPECT_EQ(summary.failed, 1u);
    EXPECT_TRUE(fs::exists(fixture.destination.file("Top.txt")));
    EXPECT_FALSE(fs::exists(fixture.destination.file("Docs")));
    EXPECT_EQ(fixture.questions,
              std::vector<std::string>{CreationErrorQuestion(fixture.destination.file("Docs") + "/Inner.txt")});
}

TEST_F(DestinationFailures, ATimeStampThatCannotBeSetLeavesTheFilesSavedAndReported) {
    faulty.timesFail = true;
    CopyContext context = fixture.context(faulty);
    const RecoveryRunResult run =
        RunRecovery(context, fixture.mounted.tree, {.everything = true}, root(), {.keepTimes = true});
    EXPECT_EQ(faulty.timesAsked, 2);
    EXPECT_EQ(run.summary.saved, 2u);
    EXPECT_EQ(run.summary.failed, 0u);
    ASSERT_TRUE(run.report);
    EXPECT_TRUE(fs::exists(run.report->csv));
    EXPECT_TRUE(fixture.questions.empty());
}

TEST_F(DestinationFailures, AReportWhoseCloseFailsIsRemovedAndTheRunSaysSo) {
    CopyContext context = fixture.context(faulty);
    SaveSelection selection{.fileIndexes = {fixture.fileIndex("Top.txt")}};
    const ReportPaths paths = ChooseReportPaths(faulty, root());
    faulty.closeFails = true;
    EXPECT_EQ(WriteRecoveryReport(faulty, paths, {.sourcePath = "disk.img"}), paths.xml + ": it could not be written");
    EXPECT_FALSE(fs::exists(paths.xml));
    EXPECT_FALSE(fs::exists(paths.csv));

    faulty.closeFails = false;
    faulty.budget = 5000;  // the file fits, the report does not
    const RecoveryRunResult run = RunRecovery(context, fixture.mounted.tree, selection, root(), {});
    EXPECT_EQ(run.summary.saved, 1u);
    ASSERT_TRUE(run.reportError);
    EXPECT_EQ(*run.reportError, paths.xml + ": No space left on device");
    EXPECT_FALSE(run.report);
    EXPECT_FALSE(fs::exists(paths.xml));
}

// The local file system's own refusals, each answered false and nothing changed.
TEST(PosixDestinationFiles, RefusalsOfTheFileSystemAreAnsweredFalse) {
    test::ScratchFolder scratch("posix_refusals");
    PosixDestinationFiles files;
    const std::string file = scratch.file("plain.txt");
    test::WriteWholeFile(file, "kept");
    const std::string folder = scratch.file("folder");
    fs::create_directory(folder);
    fs::create_directory_symlink(folder, scratch.file("link"));

    EXPECT_FALSE(files.ensureFolder(file));                              // mkdir: a file has the name
    EXPECT_FALSE(files.ensureFolder(scratch.file("missing/child")));     // mkdir: no parent
    EXPECT_FALSE(files.ensureFolder(scratch.file("link")));              // a link to a folder is no folder
    EXPECT_EQ(files.create(folder), nullptr);                            // a folder is no file
    EXPECT_EQ(files.create(scratch.file("missing/new.txt")), nullptr);
    EXPECT_FALSE(files.setModificationTime(scratch.file("never.txt"), 1000));  // utimensat: nothing there
    EXPECT_EQ(test::ReadWholeFile(file), (std::vector<uint8_t>{'k', 'e', 'p', 't'}));

    ASSERT_TRUE(files.setModificationTime(file, 1000));
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mtime, 1000);
}

TEST(DestinationWriteProblem, AWritableFolderPassesAndKeepsNoProbe) {
    test::ScratchFolder scratch("write_probe");
    PosixDestinationFiles files;
    EXPECT_EQ(DestinationWriteProblem(files, scratch.path().string()), std::nullopt);
    EXPECT_EQ(DestinationWriteProblem(files, scratch.path().string() + "/"), std::nullopt);
    EXPECT_TRUE(fs::is_empty(scratch.path()));
    const std::string plain = scratch.file("plain.txt");
    test::WriteWholeFile(plain, "kept");
    EXPECT_EQ(DestinationWriteProblem(files, plain), "Not a directory");
    EXPECT_EQ(DestinationWriteProblem(files, scratch.file("missing")), "No such file or directory");
    EXPECT_EQ(files.lastFailure(), "No such file or directory");
}

// A replacement is written beside the earlier file and renamed over it once whole; when that
// rename fails (here a folder took the name meanwhile) the close says so and the copy beside it
// is gone.
TEST(PosixDestinationFiles, AReplacementWhoseRenameFailsLeavesNoTemporaryFile) {
    test::ScratchFolder scratch("posix_rename");
    PosixDestinationFiles files;
    const std::string path = scratch.file("report.xml");
    test::WriteWholeFile(path, "earlier");
    auto file = files.create(path);
    ASSERT_NE(file, nullptr);
    fs::remove(path);
    fs::create_directory(path);
    test::WriteWholeFile(path + "/inside", "kept");
    const uint8_t bytes[] = {'n', 'e', 'w'};
    ASSERT_TRUE(file->write(bytes, sizeof bytes));
    EXPECT_FALSE(file->close());
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace lumbra
