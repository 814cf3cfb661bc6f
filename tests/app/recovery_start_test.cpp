// What every recovery run of the wizard starts with: stops of an earlier run forgotten, a
// destination in which a file can be created, and an end message that tells empty files apart.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/recovery_message.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

namespace fs = std::filesystem;

TEST_F(WizardTest, ANewRunStartsWithTheStopsOfTheRunBeforeCleared) {
    StartStandard();
    ToBrowse();
    const std::string out = scratch.file("out");
    fs::create_directory(out);
    view.destinationAnswers = {out, out};
    session.savingFlags.stopSaving = 1;
    session.savingFlags.skip = 1;
    wizard->OnCommand(Command::RecoverAll);
    ASSERT_EQ(view.savingDestinations, std::vector<std::string>{out});
    EXPECT_EQ(session.savingFlags.stopSaving.load(), 0);
    EXPECT_EQ(session.savingFlags.skip.load(), 0);

    session.savingFlags.stopSaving = 1;
    view.selectedRows = {RowNamed("readme.txt")};
    wizard->OnCommand(Command::RecoverSelected);
    EXPECT_EQ(view.savingDestinations.size(), 2u);
    EXPECT_EQ(session.savingFlags.stopSaving.load(), 0);
}

TEST_F(WizardTest, ADestinationNoFileCanBeCreatedInIsRefusedOnceWithTheReason) {
    StartStandard();
    ToBrowse();
    const std::string missing = scratch.file("missing");
    const std::string plainFile = scratch.file("plain.txt");
    std::ofstream(plainFile) << "x";
    const std::string out = scratch.file("out");
    fs::create_directory(out);
    view.destinationAnswers = {missing, plainFile};
    session.savingFlags.stopSaving = 1;
    wizard->OnCommand(Command::RecoverAll);
    EXPECT_TRUE(view.savingDestinations.empty());
    EXPECT_EQ(session.savingFlags.stopSaving.load(), 1) << "a refused folder starts no run";
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "No file can be created in the destination folder " + missing +
                                  " :\r\nNo such file or directory",
                              "No file can be created in the destination folder " + plainFile + " :\r\nNot a directory"}));
    EXPECT_EQ(view.messages[0].kind, MessageKind::Error);

    view.destinationAnswers = {out};
    view.destinationAsked = 0;
    wizard->OnCommand(Command::RecoverAll);
    EXPECT_EQ(view.savingDestinations, std::vector<std::string>{out});
    EXPECT_EQ(view.messages.size(), 2u);
    EXPECT_TRUE(fs::is_empty(out)) << "the probe file is removed again";
}

TEST(RecoveryMessage, NamesTheFolderAsLiteralTextBeforeTheReason) {
    EXPECT_EQ(DestinationNotWritableText("/media/<b>", "Permission denied"),
              "No file can be created in the destination folder /media/&lt;b> :\r\nPermission denied");
}

TEST(RecoveryMessage, EmptyFilesAreCountedOnTheirOwnLineAndNotAsSkipped) {
    RecoveryRunResult run;
    run.summary.saved = 4;
    run.summary.skipped = 3;
    run.summary.empty = 2;
    EXPECT_EQ(RecoveryRunMessage(run, "/out"),
              "Recovery finished.\n4 file(s) saved, 1 skipped, 0 failed.\n2 empty file(s) are not written\n"
              "0 file(s) cut short, 0 file(s) damaged (unreadable parts are zeros).\nDestination: /out\n");
    run.summary.empty = 0;
    EXPECT_EQ(RecoveryRunMessage(run, "/out").find("empty"), std::string::npos);
}

}  // namespace
TEST(RecoveryMessage, AStoppedRunCountsTheFileItCutShortApartAndSaysHowManyWereNotReached) {
    RecoveryRunResult run;
    run.summary.saved = 3;
    run.summary.stopped = true;
    run.summary.stopCutShort = 1;
    run.cutShort = 1;
    run.notReached = 5;
    EXPECT_EQ(RecoveryRunMessage(run, "/out"),
              "Recovery stopped.\n2 file(s) saved, 0 skipped, 0 failed.\n"
              "The file being saved at the stop was cut short and is not counted as saved.\n5 file(s) not reached.\n"
              "1 file(s) cut short, 0 file(s) damaged (unreadable parts are zeros).\nDestination: /out\n");
    run.summary.stopCutShort = 0;
    run.cutShort = 0;
    run.notReached = 0;
    EXPECT_EQ(RecoveryRunMessage(run, "/out"),
              "Recovery stopped.\n3 file(s) saved, 0 skipped, 0 failed.\n0 file(s) not reached.\n"
              "0 file(s) cut short, 0 file(s) damaged (unreadable parts are zeros).\nDestination: /out\n");
}

TEST(RecoveryMessage, TheSignIsAWarningWhenAFileIsDamagedCutShortOrNotWritten) {
    struct Case {
        uint32_t damaged, cutShort, stopCutShort, failed;
        MessageKind kind;
    };
    for (const Case& c : {Case{0, 0, 0, 0, MessageKind::Information}, Case{1, 0, 0, 0, MessageKind::Warning},
                          Case{0, 1, 0, 0, MessageKind::Warning}, Case{0, 1, 1, 0, MessageKind::Information},
                          Case{0, 2, 1, 0, MessageKind::Warning}, Case{0, 0, 0, 1, MessageKind::Warning}}) {
        RecoveryRunResult run;
        run.damaged = c.damaged;
        run.cutShort = c.cutShort;
        run.summary.stopCutShort = c.stopCutShort;
        run.summary.failed = c.failed;
        EXPECT_EQ(RecoveryRunMessageKind(run), c.kind) << c.damaged << c.cutShort << c.stopCutShort << c.failed;
    }
}

}  // namespace lumbra::test
