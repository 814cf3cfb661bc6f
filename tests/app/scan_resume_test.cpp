// The desktop offers to go on with a scan of the same disk and range that was stopped, and the
// scan it goes on with ends with the pools of a scan without a stop.
#include <gtest/gtest.h>

#include <algorithm>

#include "disk/drive_identity.h"
#include "support/whole_file.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

class ScanResumeTest : public WizardTest {
protected:
    void SetUp() override {
        image = WriteImage(LostTableImage());
        Start({image});
    }
    void Scan(const std::string& end = "12000") {
        ClickDrive(0);
        wizard->OnIdentifyOption(kSearchPartition);
        view.SetText(Element::StartField, "0");
        view.SetText(Element::EndField, end);
        wizard->OnNext();
        wizard->WaitForWorker();
    }
    std::vector<std::string> Questions() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : view.messages)
            if (message.question) texts.push_back(message.text);
        return texts;
    }
    std::string image;
};

TEST_F(ScanResumeTest, AStoppedScanIsOfferedAndGoesOnToTheWholeResult) {
    view.answers = {Answer::Yes};  // the stop
    view.onSetText = [&](Element element, const std::string& text) {
        if (element == Element::InfoValue1 && text == "1") wizard->OnStop();
    };
    Scan();
    ASSERT_EQ(view.treeChildren(TreeKind::Pools), std::vector<std::string>{"POOL1"});
    const StoredScanState stored = session.scanStates.load(DriveIdentity(image));
    ASSERT_TRUE(stored.state) << stored.ignoredBecause;
    const uint64_t next = stored.state->nextSector;
    EXPECT_GT(next, 2048u);
    EXPECT_LT(next, 6000u);

    view.onSetText = nullptr;
    wizard->OnBack();
    view.answers = {Answer::Yes};  // go on
    Scan();
    const std::string question = "A scan of this disk stopped at sector " + std::to_string(next) + " (" +
                                 std::to_string(next * 100 / 12000) + " %). Continue from there?";
    EXPECT_EQ(Questions().back(), question);
    EXPECT_EQ(view.treeChildren(TreeKind::Pools), (std::vector<std::string>{"POOL1", "SECOND"}));
    EXPECT_NE(std::find(view.log.begin(), view.log.end(), "text InfoValue1=2"), view.log.end());
    // It read on from where it stopped, not from the start.
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "text StatusLine=Scanning sector 0 Of 12000"), 1);
    EXPECT_FALSE(session.scanStates.load(DriveIdentity(image)).state) << "a finished scan leaves no state";
    EXPECT_FALSE(view.visible(Element::ProgressEstimate));
}

TEST_F(ScanResumeTest, NoStartsAfreshAndOnlyTheSameRangeIsOffered) {
    const std::string drive = DriveIdentity(image);
    ASSERT_TRUE(session.scanStates.save(ScanState{drive, {0, 12000}, 60, 6000, {}}));
    view.answers = {Answer::No};
    Scan();
    ASSERT_EQ(Questions().size(), 1u);
    EXPECT_EQ(view.treeChildren(TreeKind::Pools), (std::vector<std::string>{"POOL1", "SECOND"}));

    wizard->OnBack();
    ASSERT_TRUE(session.scanStates.save(ScanState{drive, {0, 12000}, 60, 6000, {}}));
    Scan("11999");
    EXPECT_EQ(Questions().size(), 1u) << "another range is another scan";
}

TEST_F(ScanResumeTest, ADamagedStateIsToldAndNotOffered) {
    const std::string drive = DriveIdentity(image);
    std::filesystem::create_directories(scratch.file("scan-states"));
    WriteWholeFile(session.scanStates.pathFor(drive), "{\"format\":1,\"kind\":\"lumbra-nss scan state\",\"nextSector\":-1}");
    Scan();
    EXPECT_TRUE(Questions().empty());
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.front().kind, MessageKind::Information);
    EXPECT_EQ(view.messages.front().text,
              "the scan state " + session.scanStates.pathFor(drive) + " is ignored: a field is missing or out of bounds");
    EXPECT_EQ(view.treeChildren(TreeKind::Pools), (std::vector<std::string>{"POOL1", "SECOND"}));
}

}  // namespace
}  // namespace lumbra::test
