// The mount's progress in the wizard's labels: every value while the view keeps up, only the
// latest while it does not, and nothing lost at the end.
#include <gtest/gtest.h>

#include "app/mount_display.h"

#include <algorithm>
#include "support/fake_view.h"

namespace lumbra::test {
namespace {

// A clock that never moves: no rate is ever known.
SecondsClock Frozen() {
    return [] { return 0.0; };
}

void ReadRecords(MountDisplay& display, uint32_t first, uint32_t last) {
    for (uint32_t count = first; count <= last; ++count) {
        display.filesFound(count);
        display.lastFileFolder("file" + std::to_string(count) + ".txt");
    }
}

TEST(MountDisplay, AViewThatKeepsUpIsGivenEveryValueInTheOrderReported) {
    FakeView view;
    MountDisplay display(view, Frozen());
    display.statusLine("Sector 0 Of 100");
    display.currentSector(2048);
    display.progress(3);
    ReadRecords(display, 1, 2);
    display.foldersFound(1);
    display.lastFileFolder("Documents");
    EXPECT_EQ(view.log, (std::vector<std::string>{"text StatusLine=Sector 0 Of 100", "text InfoValue3=2048",
                                                  "progress 3", "text InfoValue2=1", "text InfoValue4=file1.txt",
                                                  "text InfoValue2=2", "text InfoValue4=file2.txt",
                                                  "text InfoValue1=1", "text InfoValue4=Documents"}));
    display.flush();
    EXPECT_EQ(view.log.size(), 9u) << "nothing was left to hand over";
}

// The view becomes ready between a record's count and its name: it is given both with the name.
TEST(MountDisplay, ARecordsCountIsShownWithItsName) {
    FakeView view;
    MountDisplay display(view, Frozen());
    view.readyForProgress = false;
    ReadRecords(display, 1, 9);
    display.filesFound(10);
    view.readyForProgress = true;
    EXPECT_TRUE(view.log.empty());
    display.lastFileFolder("file10.txt");
    EXPECT_EQ(view.log, (std::vector<std::string>{"text InfoValue2=10", "text InfoValue4=file10.txt"}));
}

TEST(MountDisplay, AViewNotReadyIsGivenOnlyTheLatestValuesOnceReadyAgain) {
    FakeView view;
    MountDisplay display(view, Frozen());
    view.readyForProgress = false;
    ReadRecords(display, 1, 500);
    display.progress(40);
    display.progress(41);
    EXPECT_TRUE(view.log.empty());
    view.readyForProgress = true;
    display.currentSector(4096);
    EXPECT_EQ(view.log, (std::vector<std::string>{"text InfoValue3=4096", "text InfoValue2=500",
                                                  "text InfoValue4=file500.txt", "progress 41"}));
    EXPECT_EQ(view.text(Element::InfoValue2), "500");
}

TEST(MountDisplay, TheEndHandsOverWhatAViewNotReadyHasNotShownYet) {
    FakeView view;
    MountDisplay display(view, Frozen());
    ReadRecords(display, 1, 1);
    view.readyForProgress = false;
    ReadRecords(display, 2, 3000);
    display.statusLine("Searching Lost Data ...");
    display.flush();
    EXPECT_EQ(view.text(Element::InfoValue2), "3000");
    EXPECT_EQ(view.text(Element::InfoValue4), "file3000.txt");
    EXPECT_EQ(view.text(Element::StatusLine), "Searching Lost Data ...");
    EXPECT_EQ(view.log.size(), 5u) << "each value once after the first record's";
    display.flush();
    EXPECT_EQ(view.log.size(), 5u);
}

// Beside the bar, as for the scan: the files a second and the time the bar's pace leaves, shown
// at most twice a second.
TEST(MountDisplay, TheRateOfFilesAndTheTimeLeftAreShownBesideTheBar) {
    FakeView view;
    double now = 0;
    MountDisplay display(view, [&now] { return now; });
    for (uint32_t second = 0; second <= 30; ++second) {
        now = second;
        display.progress(second * 2);  // 2 % a second: 20 s left at 30 s
        display.filesFound(second * 1000);
        display.lastFileFolder("f");
    }
    EXPECT_EQ(view.text(Element::ProgressEstimate), "1000 files/s, 0:00:20 left");
    const auto estimates = std::count_if(view.log.begin(), view.log.end(),
                                         [](const std::string& entry) { return entry.starts_with("text ProgressEstimate="); });
    EXPECT_GE(estimates, 1);
    EXPECT_LE(estimates, 30 * 2);
}

}  // namespace
}  // namespace lumbra::test
