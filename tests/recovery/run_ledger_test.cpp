#include "recovery/run_ledger.h"

#include <gtest/gtest.h>

#include "recovery/copy_fixture.h"
#include "recovery/save_driver.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::CopyFixture;
using test::FolderContents;
using test::ScratchFolder;
using test::VolumePlan;

// Two records of one name in one folder, around files of one and of several copy steps.
VolumePlan TwinVolume(uint64_t firstSize, uint64_t secondSize) {
    VolumePlan volume{.name = "DATA"};
    const uint64_t docs = volume.addFolder("Docs");
    volume.addFile("Before.bin", docs, 300000);
    volume.addFile("Same.doc", docs, firstSize);
    volume.addFile("Same.doc", docs, secondSize);
    volume.addFile("After.txt", 0, 7000);
    return volume;
}

// Saves every file into `folder` with a ledger, raising Stop at the observer's call number
// `stopAt` (a file begun or a step of it copied); no stop when it is never reached.
SaveSummary SaveInto(CopyFixture& fixture, const fs::path& folder, uint16_t duplicates, bool resume, size_t stopAt) {
    std::string failure;
    auto ledger = RunLedger::Open(fixture.files, folder.string(), resume, failure);
    EXPECT_TRUE(ledger) << failure;
    fixture.flags.ClearStops();
    fixture.duplicateAction = duplicates;
    size_t calls = 0;
    auto count = [&] {
        if (++calls == stopAt) fixture.flags.stopSaving.store(1);
    };
    fixture.observer.onProgress = [&](uint32_t) { count(); };
    fixture.observer.onStarted = [&](const std::string&) { count(); };
    CopyContext context = fixture.context();
    context.ledger = ledger ? &*ledger : nullptr;
    return SaveRecoveredFiles(context, fixture.mounted.tree, {.everything = true}, folder.string());
}

struct TwinCase {
    uint64_t firstSize;
    uint64_t secondSize;
    uint16_t duplicates;
};

// Whatever the moment of Ctrl-C, in the run and again in its resume, the second resume ends
// with the files of a run never stopped: each record's copy under its own name, byte for byte.
TEST(RunLedger, AResumeAfterAStopAtAnyMomentEndsWithTheFilesOfAWholeRun) {
    const TwinCase cases[] = {
        {170774, 8305, kRenameDuplicates},    {8305, 170774, kRenameDuplicates},
        {5000, 5000, kRenameDuplicates},      {170774, 8305, kOverwriteDuplicates},
        {8305, 170774, kOverwriteDuplicates}, {8305, 170774, kSkipDuplicates},
    };
    for (const TwinCase& twin : cases) {
        CopyFixture fixture(test::BuildVolume(TwinVolume(twin.firstSize, twin.secondSize)));
        ScratchFolder whole("ledger_whole");
        SaveInto(fixture, whole.path(), twin.duplicates, false, 0);
        const auto expected = FolderContents(whole.path());
        ASSERT_EQ(expected.size(), twin.duplicates == kRenameDuplicates ? 4u : 3u);
        for (size_t stopAt = 1;; ++stopAt) {
            ScratchFolder out("ledger_stopped");
            const SaveSummary first = SaveInto(fixture, out.path(), twin.duplicates, false, stopAt);
            SaveInto(fixture, out.path(), twin.duplicates, true, stopAt);
            const SaveSummary last = SaveInto(fixture, out.path(), twin.duplicates, true, 0);
            EXPECT_FALSE(last.stopped);
            EXPECT_TRUE(FolderContents(out.path()) == expected)
                << twin.firstSize << "/" << twin.secondSize << " duplicates " << twin.duplicates << ", stop at "
                << stopAt;
            if (!first.stopped) break;
        }
    }
}

// A copy changed after its run (here made longer) is never written over by a resume: its record
// takes a fresh name, whatever the duplicate setting.
TEST(RunLedger, AResumeNeverWritesOverACopyWhoseSizeIsNotItsRecords) {
    for (const uint16_t duplicates : {kRenameDuplicates, kOverwriteDuplicates}) {
        CopyFixture fixture(test::BuildVolume(TwinVolume(9000, 3000)));
        ScratchFolder out("ledger_changed");
        SaveInto(fixture, out.path(), duplicates, false, 0);
        const std::string changed(20000, 'u');
        test::WriteWholeFile(out.path() / "After.txt", changed);
        const SaveSummary resumed = SaveInto(fixture, out.path(), duplicates, true, 0);
        EXPECT_EQ(test::ReadWholeFile(out.path() / "After.txt"), std::vector<uint8_t>(changed.begin(), changed.end()));
        EXPECT_EQ(test::ReadWholeFile(out.path() / "Copy (1 ) of After.txt"), fixture.expected("After.txt"));
        EXPECT_EQ(resumed.saved, 1u);
        EXPECT_EQ(resumed.alreadySaved, 3u);
    }
}

// A ledger line that would lead out of the destination, or is not one at all, is passed over.
TEST(RunLedger, LinesLeadingOutOfTheDestinationAreIgnored) {
    CopyFixture fixture(test::BuildVolume(TwinVolume(9000, 3000)));
    ScratchFolder out("ledger_hostile");
    SaveInto(fixture, out.path(), kRenameDuplicates, false, 0);
    const fs::path ledger = out.path() / kRunLedgerName;
    const std::vector<uint8_t> written = test::ReadWholeFile(ledger);
    std::string text(written.begin(), written.end());
    const auto& after = fixture.file("After.txt");
    const std::string key = std::to_string(after.parentId) + ":" + std::to_string(after.objectId) + ":" +
                            std::to_string(after.firstBlock) + ":" + std::to_string(after.size) + "#0";
    for (const char* path : {"../outside.txt", "/tmp/outside.txt", "Docs/./x", "a//b", ""})
        text += "N " + key + " 0 " + path + "\n";
    text += "garbage\nW\n";
    test::WriteWholeFile(ledger, text);
    const SaveSummary resumed = SaveInto(fixture, out.path(), kRenameDuplicates, true, 0);
    EXPECT_EQ(resumed.alreadySaved, 4u);
    EXPECT_EQ(resumed.saved, 0u);
    EXPECT_FALSE(fs::exists(out.path().parent_path() / "outside.txt"));
}

}  // namespace
}  // namespace lumbra
