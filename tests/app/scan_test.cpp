#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

class ScanTest : public WizardTest {
protected:
    void StartScan(const std::string& start, const std::string& end) {
        Start({WriteImage(LostTableImage())});
        ClickDrive(0);
        wizard->OnIdentifyOption(kSearchPartition);
        view.SetText(Element::StartField, start);
        view.SetText(Element::EndField, end);
        wizard->OnNext();
    }
    size_t LogIndex(const std::string& entry, size_t from = 0) const {
        auto found = std::find(view.log.begin() + static_cast<std::ptrdiff_t>(from), view.log.end(), entry);
        return static_cast<size_t>(found - view.log.begin());
    }
};

TEST_F(ScanTest, TheScanShowsItsProgressAndEndsInThePoolStep) {
    StartScan("0", "12000");
    // Before the worker reports: the scan layout, Stop and the progress bar.
    EXPECT_EQ(QuickHelpNow(),
              "\r\n                Please Wait, Lumbra is searching for pools. Once this process is completed, it "
              "will show you all the Pools.");
    wizard->WaitForWorker();

    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
    EXPECT_FALSE(session.wizard.busy());
    EXPECT_EQ(session.wizard.startSector, 0u);
    EXPECT_EQ(session.wizard.endSector, 12000u);
    EXPECT_EQ(view.treeChildren(TreeKind::Pools), (std::vector<std::string>{"POOL1", "SECOND"}));
    EXPECT_TRUE(view.enabled(Element::PoolTree));
    EXPECT_TRUE(view.visible(Element::PoolTree));
    EXPECT_FALSE(view.visible(Element::ProgressBar));
    EXPECT_FALSE(view.visible(Element::StatusLine));
    EXPECT_FALSE(view.visible(Element::StopButton));
    EXPECT_TRUE(view.visible(Element::BackButton));
    EXPECT_TRUE(view.enabled(Element::BackButton));
    EXPECT_FALSE(view.visible(Element::NextButton));
    EXPECT_EQ(Caption(1), "Volume Type  ");
    EXPECT_EQ(QuickHelpNow(), "\r\n                1. Select the Pool to recover from left pane.\r\n                2. Click Next Button.");

    // The order of what the scan wrote.
    const size_t layout = LogIndex("text InfoCaption1=Pool(s) Found  ");
    ASSERT_LT(layout, view.log.size());
    EXPECT_LT(LogIndex("text InfoValue3=12000", layout), view.log.size());
    EXPECT_LT(LogIndex("show StopButton"), LogIndex("disable PoolTree"));
    const size_t firstStatus = LogIndex("text StatusLine=Scanning sector 0 Of 12000");
    EXPECT_LT(LogIndex("text InfoValue2=0", layout), firstStatus);
    EXPECT_LT(firstStatus, LogIndex("progress 0", firstStatus));
    const size_t poolItem = LogIndex("item Pools POOL1");
    EXPECT_LT(poolItem, LogIndex("text InfoValue1=1", poolItem));
    EXPECT_LT(LogIndex("text InfoValue1=1"), LogIndex("item Pools SECOND"));
    EXPECT_LT(LogIndex("text StatusLine=Scanning sector 11940 Of 12000"), LogIndex("enable PoolTree"));
    EXPECT_EQ(view.progress.back(), 99u);
}

TEST_F(ScanTest, WhileScanningOnlyStopMenuAndSettingsAct) {
    bool checked = false;
    view.onSetText = [&](Element element, const std::string& text) {
        if (checked || element != Element::StatusLine || !text.starts_with("Scanning sector 60 ")) return;
        checked = true;
        EXPECT_TRUE(session.wizard.busy());
        EXPECT_TRUE(view.visible(Element::StopButton));
        EXPECT_FALSE(view.visible(Element::NextButton));
        EXPECT_FALSE(view.visible(Element::BackButton));
        EXPECT_TRUE(view.visible(Element::ProgressBar));
        EXPECT_TRUE(wizard->CommandEnabled(Command::Settings));
        EXPECT_FALSE(wizard->CommandEnabled(Command::LoadSnapshot));
        view.settingsDialog = [](SettingsDialogValues& values) { values.sectorsIndex = 99; return true; };
        wizard->OnToolbarButton(6);
        wizard->OnToolbarButton(4);
        wizard->OnNext();
        wizard->OnBack();
    };
    StartScan("0", "12000");
    wizard->WaitForWorker();
    ASSERT_TRUE(checked);
    EXPECT_EQ(view.settingsDialogs.size(), 1u);
    EXPECT_EQ(session.settings.sectorsPerRead, 100u);
    EXPECT_EQ(view.loadNameAsked, 0);
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
}

TEST_F(ScanTest, StopEndsTheScanWithThePoolsFoundSoFar) {
    view.answers = {Answer::Yes};
    view.onSetText = [&](Element element, const std::string& text) {
        if (element == Element::InfoValue1 && text == "1") wizard->OnStop();
    };
    StartScan("0", "12000");
    wizard->WaitForWorker();
    const auto questions = std::count_if(view.messages.begin(), view.messages.end(), [](const ShownMessage& m) {
        return m.question && m.kind == MessageKind::Question && m.text == "Do you want to stop the current process ?";
    });
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(view.treeChildren(TreeKind::Pools), std::vector<std::string>{"POOL1"});
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
    EXPECT_EQ(session.wizard.stopRequested, 0);
    EXPECT_FALSE(session.wizard.busy());
}

TEST_F(ScanTest, StopAnsweredNoGoesOn) {
    view.answers = {Answer::No};
    view.onSetText = [&](Element element, const std::string& text) {
        if (element == Element::InfoValue1 && text == "1") wizard->OnStop();
    };
    StartScan("0", "12000");
    wizard->WaitForWorker();
    EXPECT_EQ(view.treeChildren(TreeKind::Pools), (std::vector<std::string>{"POOL1", "SECOND"}));
}

// Stop asked from the window while the worker runs: the worker waits at its next sector until
// the answer, then goes on.
TEST_F(ScanTest, TheScanWaitsWhileTheStopQuestionIsOpen) {
    std::mutex gate;
    std::condition_variable changed;
    bool reached = false;
    bool released = false;
    view.onSetText = [&](Element element, const std::string& text) {
        if (element != Element::InfoValue1 || text != "1") return;
        std::unique_lock lock(gate);
        reached = true;
        changed.notify_all();
        changed.wait(lock, [&] { return released; });
    };
    bool held = false;
    view.whileAsking = [&] {
        {
            std::lock_guard lock(gate);
            released = true;
        }
        changed.notify_all();
        for (int tries = 0; tries < 60000 && !held; ++tries) {
            held = wizard->WorkerHeldByStopQuestion();
            if (!held) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };
    view.answers = {Answer::No};
    StartScan("0", "12000");
    {
        std::unique_lock lock(gate);
        changed.wait(lock, [&] { return reached; });
    }
    wizard->OnStop();
    EXPECT_TRUE(held) << "the scan went on while the question was open";
    wizard->WaitForWorker();
    EXPECT_EQ(view.treeChildren(TreeKind::Pools), (std::vector<std::string>{"POOL1", "SECOND"}));
}

TEST_F(ScanTest, AScanThatFindsNothingSaysSoAndOffersTheRangeAgain) {
    StartScan("100", "2000");
    wizard->WaitForWorker();
    EXPECT_EQ(Messages(), std::vector<std::string>{"No NSS pool was found between sector 100 and sector 2000."});
    EXPECT_EQ(view.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepDisks);
    EXPECT_FALSE(session.wizard.busy());
    EXPECT_TRUE(view.visible(Element::DriveTree));
    EXPECT_FALSE(view.visible(Element::PoolTree));
    EXPECT_TRUE(view.visible(Element::RangeFrame)) << "the range group returns with Search Partition";
    EXPECT_TRUE(view.visible(Element::IdentifyFrame));
    EXPECT_TRUE(view.visible(Element::NextButton));
    EXPECT_TRUE(view.enabled(Element::NextButton));
    EXPECT_FALSE(view.visible(Element::StopButton));

    view.SetText(Element::StartField, "0");
    view.SetText(Element::EndField, "12000");
    wizard->OnNext();
    wizard->WaitForWorker();
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
    EXPECT_EQ(view.treeChildren(TreeKind::Pools), (std::vector<std::string>{"POOL1", "SECOND"}));
}

TEST_F(ScanTest, AStoppedScanThatFoundNothingEndsQuietlyInThePoolStep) {
    view.answers = {Answer::Yes};
    view.onSetText = [&](Element element, const std::string& text) {
        if (element == Element::StatusLine && text.starts_with("Scanning sector 120 ")) wizard->OnStop();
    };
    StartScan("0", "1500");
    wizard->WaitForWorker();
    EXPECT_EQ(view.messages.size(), 1u) << "only the stop question";
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
    EXPECT_TRUE(view.treeChildren(TreeKind::Pools).empty());
}

// The disk holds 12000 sectors: a range typed far past them is scanned up to there, and the
// progress counts those sectors, so it reaches its end at the disk's end.
TEST_F(ScanTest, ARangePastTheDiskEndIsScannedToTheDiskEnd) {
    StartScan("0", "20000");
    wizard->WaitForWorker();
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
    EXPECT_EQ(view.treeChildren(TreeKind::Pools), (std::vector<std::string>{"POOL1", "SECOND"}));
    std::vector<std::string> statuses;
    for (const std::string& entry : view.log)
        if (entry.starts_with("text StatusLine=Scanning")) statuses.push_back(entry);
    ASSERT_EQ(statuses.size(), 200u);
    EXPECT_EQ(statuses.back(), "text StatusLine=Scanning sector 11940 Of 12000");
    EXPECT_EQ(view.progress.back(), 99u);
}

TEST_F(ScanTest, OneHundredSectorsPerReadMovesTheScanInSteps) {
    Start({WriteImage(LostTableImage())});
    view.settingsDialog = [](SettingsDialogValues& values) {
        values.sectorsIndex = 99;
        return true;
    };
    wizard->OnToolbarButton(6);
    ClickDrive(0);
    wizard->OnIdentifyOption(kSearchPartition);
    view.SetText(Element::StartField, "0");
    view.SetText(Element::EndField, "1000");
    wizard->OnNext();
    wizard->WaitForWorker();
    std::vector<std::string> statuses;
    for (const std::string& entry : view.log)
        if (entry.starts_with("text StatusLine=Scanning")) statuses.push_back(entry);
    ASSERT_EQ(statuses.size(), 10u);
    EXPECT_EQ(statuses[0], "text StatusLine=Scanning sector 0 Of 1000");
    EXPECT_EQ(statuses[9], "text StatusLine=Scanning sector 900 Of 1000");
}

TEST_F(ScanTest, ExitWhileScanningEndsTheProcessAtOnce) {
    view.answers = {Answer::Yes, Answer::Yes};
    bool exited = false;
    bool closed = false;
    view.onSetText = [&](Element element, const std::string& text) {
        if (element != Element::StatusLine || text != "Scanning sector 60 Of 12000") return;
        wizard->OnCommand(Command::Exit);
        exited = true;
        closed = wizard->OnCloseRequest();
    };
    StartScan("0", "12000");
    wizard->WaitForWorker();
    ASSERT_TRUE(exited);
    EXPECT_TRUE(closed);
    EXPECT_EQ(desktop.endedWith, (std::vector<int>{0, 0}));
    EXPECT_EQ(desktop.opened, (std::vector<std::string>{std::string(WizardController::kHomePage),
                                                        std::string(WizardController::kHomePage)}));
}

}  // namespace
}  // namespace lumbra::test
