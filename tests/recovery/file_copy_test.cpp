#include "recovery/file_copy.h"

#include <gtest/gtest.h>

#include <sys/mount.h>

#include "disk/sector.h"
#include "recovery/copy_fixture.h"
#include "recovery/recovery_report.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::CopyFixture;
using test::FullDiskFiles;
using test::ReadWholeFile;
using test::VolumePlan;
using test::WriteWholeFile;

VolumePlan CopyVolume() {
    VolumePlan volume{.name = "DATA"};
    uint64_t docs = volume.addFolder("Documents");
    volume.addFile("a.txt", 0, 4097);
    volume.addFile("Big.bin", 0, 300000);
    volume.addFile("Empty", 0, 0);
    volume.addFile("Report.doc", docs, 12345);
    volume.files.push_back({.parent = 0, .name = "Frag.dat", .size = 20000, .fragments = 3});
    volume.addFile("Caf\u00e9.xls", 0, 7000);
    volume.addFile("../evil", 0, 10);
    return volume;
}

class FileCopy : public ::testing::Test {
protected:
    FileCopy() : fixture(test::BuildVolume(CopyVolume())) {}
    fs::path target(const std::string& name) const { return fixture.destination.path() / name; }
    CopyFixture fixture;
};

TEST_F(FileCopy, FileOf4097BytesIsOneWholeBlockAndOneByteOfTheNext) {
    CopyResult result = fixture.copy("a.txt");
    EXPECT_TRUE(result.copied());
    EXPECT_EQ(result.bytesWritten, 4097u);
    EXPECT_EQ(ReadWholeFile(target("a.txt")), fixture.expected("a.txt"));
    EXPECT_EQ(fixture.flags.savedFiles.load(), 1u);
}

TEST_F(FileCopy, DataIsTakenFromConsecutiveBlocksEvenForAFragmentedFile) {
    EXPECT_TRUE(fixture.copy("Frag.dat").copied());
    EXPECT_EQ(ReadWholeFile(target("Frag.dat")), fixture.expected("Frag.dat"));
}

TEST_F(FileCopy, EmptyFileCreatesNothingAndAnswersNo) {
    CopyResult result = fixture.copy("Empty");
    EXPECT_FALSE(result.copied());
    EXPECT_EQ(result.outcome, CopyOutcome::EmptyFile);
    EXPECT_FALSE(fs::exists(target("Empty")));
    EXPECT_EQ(fixture.flags.savedFiles.load(), 0u);
}

TEST_F(FileCopy, SkipDuplicatesLeavesTheExistingFileUntouched) {
    WriteWholeFile(target("a.txt"), "old");
    fixture.duplicateAction = kSkipDuplicates;
    CopyResult result = fixture.copy("a.txt");
    EXPECT_EQ(result.outcome, CopyOutcome::DuplicateSkipped);
    EXPECT_FALSE(result.copied());
    EXPECT_EQ(ReadWholeFile(target("a.txt")), std::vector<uint8_t>({'o', 'l', 'd'}));
    EXPECT_TRUE(fixture.questions.empty());
}

TEST_F(FileCopy, RenameTakesTheFirstFreeCopyNumber) {
    WriteWholeFile(target("a.txt"), "old");
    WriteWholeFile(target("Copy (1 ) of a.txt"), "older");
    std::string name = "a.txt";
    CopyContext context = fixture.context();
    const ItemRecord& record = fixture.file("a.txt");
    CopyResult result = CopyRecoveredFile(context, fixture.destination.path().string(), name, record.firstBlock,
                                          record.size, CopyMode::Recover);
    EXPECT_TRUE(result.copied());
    EXPECT_EQ(name, "Copy (2 ) of a.txt");
    EXPECT_EQ(ReadWholeFile(target("Copy (2 ) of a.txt")), fixture.expected("a.txt"));
    EXPECT_EQ(ReadWholeFile(target("a.txt")).size(), 3u);
    ASSERT_EQ(fixture.observer.started.size(), 1u);
    EXPECT_EQ(fixture.observer.started[0].name, "Copy (2 ) of a.txt");
    EXPECT_EQ(fixture.observer.started[0].path, target("Copy (2 ) of a.txt").string());
}

TEST_F(FileCopy, OverwriteTruncatesALargerExistingFile) {
    WriteWholeFile(target("a.txt"), std::string(10000, 'x'));
    fixture.duplicateAction = kOverwriteDuplicates;
    EXPECT_TRUE(fixture.copy("a.txt").copied());
    EXPECT_EQ(ReadWholeFile(target("a.txt")), fixture.expected("a.txt"));
}

TEST_F(FileCopy, OverwriteLeavesTheEarlierCopyInPlaceUntilTheNewOneIsWhole) {
    WriteWholeFile(target("Big.bin"), "earlier copy");
    fixture.duplicateAction = kOverwriteDuplicates;
    std::vector<size_t> seenWhileWriting;
    fixture.observer.onProgress = [&](uint32_t) { seenWhileWriting.push_back(ReadWholeFile(target("Big.bin")).size()); };
    EXPECT_EQ(fixture.copy("Big.bin").outcome, CopyOutcome::Copied);
    ASSERT_FALSE(seenWhileWriting.empty());
    for (size_t size : seenWhileWriting) EXPECT_EQ(size, 12u);
    EXPECT_EQ(ReadWholeFile(target("Big.bin")), fixture.expected("Big.bin"));
    EXPECT_EQ(std::distance(fs::directory_iterator(fixture.destination.path()), fs::directory_iterator()), 1);
}

TEST_F(FileCopy, AnOverwriteThatFailsKeepsTheEarlierCopyAndLeavesNoTemporaryFile) {
    WriteWholeFile(target("Big.bin"), "earlier copy");
    fixture.duplicateAction = kOverwriteDuplicates;
    FullDiskFiles fullDisk(10000);
    const CopyResult result = fixture.copy("Big.bin", fullDisk);
    EXPECT_EQ(result.outcome, CopyOutcome::WriteFailed);
    EXPECT_EQ(ReadWholeFile(target("Big.bin")), std::vector<uint8_t>(std::begin("earlier copy"), std::end("earlier copy") - 1));
    EXPECT_EQ(std::distance(fs::directory_iterator(fixture.destination.path()), fs::directory_iterator()), 1);
}

// Skip or Stop in the middle of a copy that was to replace an earlier file: the earlier file
// stays as it was, no temporary file is left, and the outcome (and so the report) says so. A new
// file cut short the same way is kept, for a resume to finish.
TEST_F(FileCopy, ACopyCutShortBySkipOrStopNeverReplacesTheEarlierFile) {
    const std::string earlier = "earlier copy";
    for (const bool stop : {false, true}) {
        for (const bool replacing : {false, true}) {
            fs::remove_all(fixture.destination.path());
            fs::create_directories(fixture.destination.path());
            if (replacing) WriteWholeFile(target("Big.bin"), earlier);
            fixture.flags.ClearStops();
            fixture.duplicateAction = kOverwriteDuplicates;
            fixture.observer.onProgress = [&](uint32_t) { (stop ? fixture.flags.stopSaving : fixture.flags.skip).store(1); };
            const CopyResult result = fixture.copy("Big.bin");
            EXPECT_EQ(result.outcome, replacing ? CopyOutcome::EarlierKept : CopyOutcome::CutShort) << stop;
            EXPECT_EQ(ReadWholeFile(target("Big.bin")).size(), replacing ? earlier.size() : kCopyRunBlocks * 4096u);
            EXPECT_EQ(std::distance(fs::directory_iterator(fixture.destination.path()), fs::directory_iterator()), 1);
        }
    }
    EXPECT_EQ(OutcomeText({.outcome = CopyOutcome::EarlierKept}), "not saved, cut short; the earlier file there kept");
}

TEST_F(FileCopy, FilterWithoutMatchCreatesNothingAndAsksNothing) {
    fixture.filters = {"*.doc", "zz"};
    CopyResult result = fixture.copy("a.txt");
    EXPECT_EQ(result.outcome, CopyOutcome::FilteredOut);
    EXPECT_FALSE(fs::exists(target("a.txt")));
    EXPECT_TRUE(fixture.questions.empty());
    EXPECT_TRUE(fixture.observer.started.empty());
}

TEST_F(FileCopy, FiltersAreComparedUpperCased) {
    fixture.filters = {"zz", "*.txt"};
    EXPECT_TRUE(fixture.copy("a.txt").copied());
}

TEST_F(FileCopy, SkipLeavesAPartialFileAndTheNextFileIsWhole) {
    fixture.observer.onProgress = [&](uint32_t) { fixture.flags.skip.store(1); };
    CopyResult skipped = fixture.copy("Big.bin");
    EXPECT_TRUE(skipped.copied());
    EXPECT_EQ(skipped.outcome, CopyOutcome::CutShort);
    EXPECT_GT(skipped.bytesWritten, 0u);
    EXPECT_LE(skipped.bytesWritten, uint64_t{kCopyRunBlocks} * kBlockSize);
    EXPECT_EQ(fs::file_size(target("Big.bin")), skipped.bytesWritten);
    fixture.observer.onProgress = nullptr;
    EXPECT_TRUE(fixture.copy("a.txt").copied());
    EXPECT_EQ(ReadWholeFile(target("a.txt")), fixture.expected("a.txt"));
}

TEST_F(FileCopy, StopActsWithinAFewBlocksAndEndsEveryLaterCall) {
    fixture.observer.onProgress = [&](uint32_t) { fixture.flags.stopSaving.store(1); };
    CopyResult stopped = fixture.copy("Big.bin");
    EXPECT_EQ(stopped.outcome, CopyOutcome::CutShort);
    EXPECT_LE(stopped.bytesWritten, uint64_t{kCopyRunBlocks} * kBlockSize);
    EXPECT_EQ(fixture.copy("a.txt").outcome, CopyOutcome::Stopped);
    EXPECT_FALSE(fs::exists(target("a.txt")));
    fixture.flags.ClearStops();
    EXPECT_TRUE(fixture.copy("a.txt").copied());
}

TEST_F(FileCopy, ProgressGoesUpTo100AndTotalFilesShowsTheCounterBeforeTheFile) {
    fixture.copy("a.txt");
    fixture.copy("Big.bin");
    ASSERT_EQ(fixture.observer.started.size(), 2u);
    EXPECT_EQ(fixture.observer.started[0].totalFiles, 0u);
    EXPECT_EQ(fixture.observer.started[1].totalFiles, 1u);
    EXPECT_EQ(fixture.observer.percents.back(), 100u);
    EXPECT_TRUE(std::is_sorted(fixture.observer.percents.begin() + 1, fixture.observer.percents.end()));
}

TEST_F(FileCopy, AnsweringNoToTheCreationErrorStopsAllFurtherCopies) {
    fixture.answer = false;
    std::string name = "a.txt";
    CopyContext context = fixture.context();
    const ItemRecord& record = fixture.file("a.txt");
    const std::string missing = (fixture.destination.path() / "missing").string();
    CopyResult result = CopyRecoveredFile(context, missing, name, record.firstBlock, record.size, CopyMode::Recover);
    EXPECT_EQ(result.outcome, CopyOutcome::CreationFailed);
    ASSERT_EQ(fixture.questions.size(), 1u);
    // The system's reason follows the question on a line of its own.
    EXPECT_EQ(fixture.questions[0],
              "Error creating file : " + missing + "/a.txt.  Continue Recovery ? \r\nNo such file or directory");
    EXPECT_EQ(fixture.flags.stopSaving.load(), 1);
    EXPECT_EQ(fixture.flags.savedFiles.load(), 1u);  // counted before the create, as "Total Files" shows
    EXPECT_EQ(fixture.copy("Big.bin").outcome, CopyOutcome::Stopped);
    EXPECT_EQ(fixture.questions.size(), 1u);
}

TEST_F(FileCopy, AnsweringYesToTheCreationErrorGoesOn) {
    std::string name = "a.txt";
    CopyContext context = fixture.context();
    const ItemRecord& record = fixture.file("a.txt");
    CopyRecoveredFile(context, (fixture.destination.path() / "missing").string(), name, record.firstBlock,
                      record.size, CopyMode::Recover);
    EXPECT_EQ(fixture.flags.stopSaving.load(), 0);
    EXPECT_TRUE(fixture.copy("Big.bin").copied());
}

TEST_F(FileCopy, FolderWithATrailingSeparatorGetsNoSecondOne) {
    std::string name = "a.txt";
    CopyContext context = fixture.context();
    const ItemRecord& record = fixture.file("a.txt");
    const std::string folder = fixture.destination.path().string() + "/";
    CopyResult result = CopyRecoveredFile(context, folder, name, record.firstBlock, record.size, CopyMode::Recover);
    EXPECT_EQ(result.path, folder + "a.txt");
    EXPECT_EQ(fixture.observer.started.at(0).path, folder + "a.txt");
}

TEST_F(FileCopy, OpenModeOverwritesIgnoresFiltersAndFailsSilently) {
    WriteWholeFile(target("a.txt"), std::string(9000, 'x'));
    fixture.filters = {"*.doc"};
    EXPECT_TRUE(fixture.copy("a.txt", CopyMode::Open).copied());
    EXPECT_EQ(ReadWholeFile(target("a.txt")), fixture.expected("a.txt"));
    EXPECT_TRUE(fixture.observer.started.empty());
    EXPECT_EQ(fixture.flags.savedFiles.load(), 0u);

    std::string name = "a.txt";
    CopyContext context = fixture.context();
    const ItemRecord& record = fixture.file("a.txt");
    CopyResult failed = CopyRecoveredFile(context, (fixture.destination.path() / "missing").string(), name,
                                          record.firstBlock, record.size, CopyMode::Open);
    EXPECT_FALSE(failed.copied());
    EXPECT_TRUE(fixture.questions.empty());
    EXPECT_EQ(fixture.flags.stopSaving.load(), 0);
}

// A pool of several segments maps nothing past its last segment.
TEST(FileCopyAcrossSegments, ABlockThePoolCannotMapEndsTheFileShort) {
    VolumePlan volume{.name = "DATA"};
    volume.addFile("a.txt", 0, 10);
    CopyFixture fixture(test::NssImageBuilder().pool({.name = "POOL", .segments = {{}, {}}, .volumes = {volume}}).build());
    ASSERT_EQ(fixture.mounted.pool.segmentCount, 2u);
    uint64_t poolSectors = 0;
    for (uint32_t extent : fixture.mounted.pool.segmentExtent) poolSectors += extent;
    std::string name = "tail.bin";
    CopyContext context = fixture.context();
    CopyResult result = CopyRecoveredFile(context, fixture.destination.path().string(), name,
                                          poolSectors / kSectorsPerBlock - 1, 3 * int64_t{kBlockSize}, CopyMode::Recover);
    EXPECT_EQ(result.outcome, CopyOutcome::CutShort);
    EXPECT_EQ(fs::file_size(fixture.destination.path() / "tail.bin"), kBlockSize);
}

// A damaged record may claim any first block and any size. A lone segment maps only inside its
// pool and the copy reads only what the disk holds, so the file ends at whichever end comes
// first, keeps what was written and is reported cut short.
TEST(FileCopyBounds, AFileEndsAtTheEndOfItsPoolOrOfTheDisk) {
    VolumePlan volume{.name = "DATA"};
    volume.addFile("a.txt", 0, 10);
    test::PoolPlan plan{.name = "POOL", .segments = {{.headerSector = 2048}}, .volumes = {volume}};
    CopyFixture inPool(test::NssImageBuilder().pool(plan).build());
    ASSERT_EQ(inPool.mounted.pool.segmentStart, std::vector<uint32_t>{2080});
    const std::string folder = inPool.destination.path().string();
    CopyContext context = inPool.context();

    std::string name = "tail.bin";
    const uint64_t lastBlock = (inPool.mounted.pool.poolSize - 1) / kSectorsPerBlock;
    CopyResult tail = CopyRecoveredFile(context, folder, name, lastBlock, 8 << 20, CopyMode::Recover);
    EXPECT_EQ(tail.outcome, CopyOutcome::CutShort);
    EXPECT_EQ(fs::file_size(inPool.destination.path() / "tail.bin"), kBlockSize);

    // 2080 + 8 * block wraps to sector 0: the partition table must not pass as the file.
    name = "wrap.bin";
    CopyResult wrap = CopyRecoveredFile(context, folder, name, (uint64_t{1} << 61) - 2080 / 8, 512, CopyMode::Recover);
    EXPECT_EQ(wrap.outcome, CopyOutcome::CutShort);
    EXPECT_EQ(fs::file_size(inPool.destination.path() / "wrap.bin"), 0u);

    plan.segments[0].header.poolSizeField = 8'000'000;  // far past the end of the disk
    CopyFixture pastDisk(test::NssImageBuilder().pool(plan).build());
    CopyContext pastContext = pastDisk.context();
    const uint64_t diskSectors = pastDisk.mounted.image.sectorCount();
    const uint64_t block = (diskSectors - 2080) / kSectorsPerBlock - 1;
    name = "end.bin";
    CopyResult end = CopyRecoveredFile(pastContext, pastDisk.destination.path().string(), name, block,
                                       5 * int64_t{kBlockSize}, CopyMode::Recover);
    EXPECT_EQ(end.outcome, CopyOutcome::CutShort);
    EXPECT_EQ(end.bytesWritten, (diskSectors - 2080 - block * kSectorsPerBlock) * kSectorSize);
    EXPECT_EQ(fs::file_size(pastDisk.destination.path() / "end.bin"), end.bytesWritten);
}

TEST_F(FileCopy, RecoveredNamesNeverLeaveTheFolderAndBecomeUtf8) {
    EXPECT_TRUE(fixture.copy("../evil").copied());
    EXPECT_TRUE(fs::exists(target(".._evil")));
    EXPECT_FALSE(fs::exists(fixture.destination.path().parent_path() / "evil"));
    EXPECT_TRUE(fixture.copy("Caf\xE9.xls").copied());
    EXPECT_EQ(ReadWholeFile(target("Caf\xC3\xA9.xls")), fixture.expected("Caf\xE9.xls"));
}

TEST_F(FileCopy, ASymbolicLinkAtTheTargetIsNeverFollowed) {
    test::ScratchFolder outside("outside");
    fs::create_symlink(outside.path() / "victim", target("a.txt"));
    fixture.duplicateAction = kOverwriteDuplicates;
    CopyResult result = fixture.copy("a.txt");
    EXPECT_EQ(result.outcome, CopyOutcome::CreationFailed);
    EXPECT_FALSE(fs::exists(outside.path() / "victim"));
}

TEST_F(FileCopy, AWriteErrorIsAskedAboutAndLeavesNoBrokenFile) {
    FullDiskFiles fullDisk(10000);
    const CopyResult result = fixture.copy("Big.bin", fullDisk);
    EXPECT_EQ(result.outcome, CopyOutcome::WriteFailed);
    EXPECT_FALSE(result.copied());
    EXPECT_FALSE(fs::exists(target("Big.bin")));
    EXPECT_EQ(fixture.flags.savedFiles.load(), 1u);
    ASSERT_EQ(fixture.questions.size(), 1u);
    EXPECT_EQ(fixture.questions[0], "Error writing file : " + target("Big.bin").string() + ".  Continue Recovery ? ");
    EXPECT_EQ(fixture.flags.stopSaving.load(), 0);

    fixture.answer = false;
    fixture.copy("Big.bin", fullDisk);
    EXPECT_EQ(fixture.flags.stopSaving.load(), 1);
}

// A real full disk: a tmpfs of 64 KiB. Needs the right to mount; skipped without it.
TEST_F(FileCopy, AFullTmpfsIsAWriteErrorNotASuccess) {
    test::ScratchFolder small("tmpfs");
    if (::mount("tmpfs", small.path().c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "cannot mount a tmpfs";
    std::string name = "Big.bin";
    CopyContext context = fixture.context();
    const ItemRecord& record = fixture.file("Big.bin");
    CopyResult result = CopyRecoveredFile(context, small.path().string(), name, record.firstBlock, record.size,
                                          CopyMode::Recover);
    const bool leftBehind = fs::exists(small.path() / "Big.bin");
    ::umount(small.path().c_str());
    EXPECT_EQ(result.outcome, CopyOutcome::WriteFailed);
    EXPECT_FALSE(leftBehind);
    EXPECT_EQ(fixture.questions.size(), 1u);
}

TEST_F(FileCopy, ConsecutiveBlocksAreReadInRunsNotBlockByBlock) {
    struct CountingReader : SectorReader {
        explicit CountingReader(SectorReader& wrapped) : inner(wrapped) {}
        int ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) override {
            ++reads;
            return inner.ReadSectors(sector, count, buffer);
        }
        SectorReader& inner;
        int reads = 0;
    } counting(fixture.mounted.reader);
    CopyContext context{counting, fixture.mounted.pool, fixture.files, fixture.flags, fixture.filters};
    std::string name = "Big.bin";
    const ItemRecord& record = fixture.file("Big.bin");
    CopyRecoveredFile(context, fixture.destination.path().string(), name, record.firstBlock, record.size,
                      CopyMode::Recover);
    EXPECT_EQ(counting.reads, 3);  // 74 blocks in runs of 32
    EXPECT_EQ(ReadWholeFile(target("Big.bin")), fixture.expected("Big.bin"));
}

}  // namespace
}  // namespace lumbra
