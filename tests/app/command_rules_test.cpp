#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <set>
#include <thread>

#include "app/command_table.h"
#include "app/menu_mode.h"
#include "app/user_guide.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

const Command kMenuBar[] = {Command::RecoverSelected, Command::RecoverAll,  Command::SaveSnapshot,
                            Command::LoadSnapshot,    Command::IconsView,   Command::ListView,
                            Command::DetailsView,     Command::FindFiles,   Command::FileFilters,
                            Command::Settings,        Command::DriveInformation};
const Command kAlways[] = {Command::Exit, Command::LiveUpdate, Command::Contents, Command::About};

enum class Reach { Start, Pools, Volumes, Browse, BackAtStart };

struct ModeCase {
    const char* name;
    Reach reach;
    std::set<Command> enabled;  // of kMenuBar
};

const std::set<Command> kBrowseSet{Command::RecoverSelected, Command::RecoverAll, Command::SaveSnapshot,
                                   Command::IconsView,       Command::ListView,   Command::DetailsView,
                                   Command::FindFiles,       Command::FileFilters, Command::Settings,
                                   Command::DriveInformation};

class CommandRules : public WizardTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(CommandRules, EnableRulesFollowTheMenuMode) {
    StartStandard();
    switch (GetParam().reach) {
        case Reach::Start: break;
        case Reach::Pools: ToPools(); break;
        case Reach::Volumes: ToVolumes(); break;
        case Reach::Browse: ToBrowse(); break;
        case Reach::BackAtStart:
            ToPools();
            wizard->OnBack();
            break;
    }
    for (Command command : kMenuBar) {
        const bool expected = GetParam().enabled.count(command) != 0;
        EXPECT_EQ(wizard->CommandEnabled(command), expected) << static_cast<int>(command);
        EXPECT_EQ(view.commandEnabled(command), expected) << static_cast<int>(command);
    }
    for (Command command : kAlways) {
        EXPECT_TRUE(wizard->CommandEnabled(command));
        EXPECT_FALSE(view.commandSet(command)) << "never changed";
    }
}

INSTANTIATE_TEST_SUITE_P(
    WizardTest, CommandRules,
    ::testing::Values(ModeCase{"start", Reach::Start, {Command::LoadSnapshot, Command::Settings}},
                      ModeCase{"pools", Reach::Pools, {Command::Settings}},
                      ModeCase{"volumes", Reach::Volumes, {Command::Settings}},
                      ModeCase{"browse", Reach::Browse, kBrowseSet},
                      ModeCase{"backAtStart", Reach::BackAtStart, {Command::LoadSnapshot, Command::Settings}}),
    [](const ::testing::TestParamInfo<ModeCase>& param) { return std::string(param.param.name); });

TEST(MenuModes, SettingsInTheStartModeOnlyInTheDiskStep) {
    FakeView view;
    MenuState menu;
    menu.Apply(view, MenuMode::Start, WizardStep::StepStartup);
    EXPECT_FALSE(menu.enabled(Command::Settings));
    menu.Apply(view, MenuMode::Start, WizardStep::StepDisks);
    EXPECT_TRUE(menu.enabled(Command::Settings));
    menu.Apply(view, MenuMode::ChoosingVolumes, WizardStep::StepVolumes);
    EXPECT_TRUE(menu.enabled(Command::Settings));
    EXPECT_FALSE(menu.enabled(Command::LoadSnapshot));
}

// A worker applies a mode at its end while the user-interface thread asks the toolbar's state. Both
// start together, and the worker goes on until the screen has read the state a hundred times, so
// the two overlap however the threads are scheduled.
TEST(MenuModes, AWorkerAppliesModesWhileTheScreenReadsThem) {
    FakeView view;
    MenuState menu;
    menu.Apply(view, MenuMode::Choosing, WizardStep::StepPools);
    std::atomic<bool> done{false};
    std::atomic<uint64_t> reads{0};
    std::latch start(2);
    std::thread worker([&] {
        FakeView workerView;
        start.arrive_and_wait();
        for (int round = 0; round < 2000 || reads < 100; ++round)
            menu.Apply(workerView, round % 2 ? MenuMode::Browse : MenuMode::Choosing, WizardStep::StepVolumes);
        menu.Apply(workerView, MenuMode::Browse, WizardStep::StepVolumes);
        done = true;
    });
    start.arrive_and_wait();
    while (!done) {
        // Settings is on in both modes; Live Update always.
        EXPECT_TRUE(menu.enabled(Command::Settings));
        EXPECT_TRUE(menu.enabled(Command::LiveUpdate));
        EXPECT_FALSE(menu.enabled(Command::LoadSnapshot));
        ++reads;
    }
    worker.join();
    EXPECT_GE(reads, 100u);
    // The last mode applied was the browse mode.
    EXPECT_TRUE(menu.enabled(Command::SaveSnapshot));
    menu.Apply(view, MenuMode::Choosing, WizardStep::StepPools);
    EXPECT_FALSE(menu.enabled(Command::SaveSnapshot));
}

TEST(CommandTable, MenuAndListIdentifiersShareTheirAction) {
    EXPECT_EQ(FindCommand(Command::RecoverSelectedFromList)->action, CommandAction::RecoverSelected);
    EXPECT_EQ(FindCommand(Command::IconsViewFromList)->text, "Ico&ns     ");
    EXPECT_EQ(FindCommand(Command::SettingsFromList)->text, "&Settings...");
    EXPECT_EQ(FindCommand(Command::SystemAbout)->action, CommandAction::About);
    EXPECT_EQ(static_cast<int>(Command::ListView), 59410);
    EXPECT_EQ(static_cast<int>(Command::DetailsView), 59411);
    EXPECT_EQ(ToolbarButtonAt(7)->command, Command::LiveUpdate);
    EXPECT_EQ(ToolbarButtonAt(6)->tooltip, "Configures the software");
    EXPECT_FALSE(ToolbarButtonAt(0));
    EXPECT_FALSE(ToolbarButtonAt(8));
}

TEST_F(WizardTest, InTheDiskStepOnlyTheSnapshotButtonOfTheFirstFiveActs) {
    StartStandard();
    for (int button : {1, 2, 3, 5}) wizard->OnToolbarButton(button);
    for (Command command : {Command::RecoverSelected, Command::RecoverAll, Command::SaveSnapshot, Command::FindFiles,
                            Command::FileFilters, Command::DriveInformation, Command::IconsView,
                            Command::Open, Command::OpenWith, Command::Rename, Command::Properties,
                            Command::RecoverAllFromList, Command::FindFilesFromList})
        wizard->OnCommand(command);
    EXPECT_TRUE(view.savings.empty());
    EXPECT_EQ(view.saveNameAsked, 0);
    EXPECT_EQ(view.findWindows, 0);
    EXPECT_TRUE(view.driveInformation.empty());
    EXPECT_TRUE(view.properties.empty());
    EXPECT_TRUE(view.labelEdits.empty());
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.viewMode, ListViewMode::Details);

    wizard->OnToolbarButton(4);
    EXPECT_EQ(view.loadNameAsked, 1);
    wizard->OnToolbarButton(6);
    EXPECT_EQ(view.settingsDialogs.size(), 1u);
}

TEST_F(WizardTest, BrowseCommandsAct) {
    StartStandard();
    ToBrowse();
    wizard->OnCommand(Command::IconsView);
    EXPECT_EQ(view.viewMode, ListViewMode::Icons);
    wizard->OnCommand(Command::ListViewFromList);
    EXPECT_EQ(view.viewMode, ListViewMode::List);
    wizard->OnCommand(Command::DetailsView);
    EXPECT_EQ(view.viewMode, ListViewMode::Details);

    wizard->OnToolbarButton(5);
    wizard->OnCommand(Command::FindFilesFromList);
    EXPECT_EQ(view.findWindows, 2);

    const std::string recovered = scratch.file("recovered");
    std::filesystem::create_directory(recovered);
    view.destinationAnswers = {recovered, recovered};
    wizard->OnToolbarButton(2);
    ASSERT_EQ(view.savings.size(), 1u);
    EXPECT_EQ(view.savingDestinations[0], recovered);
    EXPECT_TRUE(view.savings[0].everything);

    view.selectedRows = {RowNamed("Documents"), RowNamed("readme.txt")};
    wizard->OnToolbarButton(1);
    ASSERT_EQ(view.savings.size(), 2u);
    EXPECT_FALSE(view.savings[1].everything);
    ASSERT_EQ(view.savings[1].folderIndexes.size(), 1u);
    EXPECT_EQ(session.records.folders()[view.savings[1].folderIndexes[0]].name, "Documents");
    ASSERT_EQ(view.savings[1].fileIndexes.size(), 1u);
    EXPECT_EQ(session.records.files()[view.savings[1].fileIndexes[0]].name, "readme.txt");

    view.selectedRows.clear();
    wizard->OnCommand(Command::RecoverSelected);
    EXPECT_EQ(view.savings.size(), 2u) << "nothing selected: nothing to save";

    wizard->OnCommand(Command::About);
    wizard->OnCommand(Command::SystemAbout);
    EXPECT_EQ(view.abouts, (std::vector<std::string>{"Corvalt Lumbra Novell NSS Version 4.03",
                                                     "Corvalt Lumbra Novell NSS Version 4.03"}));
}

TEST_F(WizardTest, DriveInformationDescribesThePoolAndVolume) {
    StartStandard();
    ToBrowse();
    wizard->OnCommand(Command::DriveInformation);
    ASSERT_EQ(view.driveInformation.size(), 1u);
    const auto& rows = view.driveInformation[0].rows;
    ASSERT_EQ(rows.size(), 8u);
    const std::vector<std::pair<std::string, std::string>> expected{
        {"Pool Name         :", "POOL1"},
        {"Pool Size           :", std::to_string(session.selectedPool.poolSize)},
        {"Pool Start           :", std::to_string(session.selectedPool.segmentStart[0])},
        {"Total Volumes    :", "1"},
        {"Volume Name    :", "DATA"},
        {"Total Files          :", "4"},
        {"Total Folders      :", "2"},
        {"Recovery Basis  :", "Volume Based"}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(rows[i].caption, expected[i].first);
        EXPECT_EQ(rows[i].value, expected[i].second);
    }
}

TEST_F(WizardTest, TheListMenuNeedsTheListFocusTheBrowseStepAndAMark) {
    StartStandard();
    view.selectionMark = 0;
    wizard->OnListRightClick();
    EXPECT_TRUE(view.listMenus.empty()) << "before the first mount";
    ToBrowse();
    ClickTree(TreeKind::Directory, "DATA");
    view.selectionMark = RowNamed("readme.txt");
    wizard->FilterKey(Key::ContextMenu);
    EXPECT_TRUE(view.listMenus.empty()) << "the tree was clicked last";
    wizard->OnListRightClick();
    ASSERT_EQ(view.listMenus.size(), 1u);
    EXPECT_TRUE(view.listMenus[0]);
    view.selectionMark = RowNamed("Documents");
    wizard->FilterKey(Key::ContextMenu);
    ASSERT_EQ(view.listMenus.size(), 2u);
    EXPECT_FALSE(view.listMenus[1]) << "Open With is greyed on folder rows";
    view.selectionMark = -1;
    wizard->OnListRightClick();
    EXPECT_EQ(view.listMenus.size(), 2u);
}

TEST(UserGuide, LiesWithThePackagesDocumentsBesideTheProgramsFolder) {
    const std::string guide = UserGuidePath("/usr/lib/lumbra-nss/");
    EXPECT_TRUE(guide.ends_with("/share/doc/lumbra-nss/guide/index.html")) << guide;
    EXPECT_EQ(guide.find(".."), std::string::npos) << guide;
    EXPECT_EQ(guide.rfind("/usr/", 0), 0u) << guide;
}

TEST_F(WizardTest, HelpOpensTheGuideBesideTheProgramWhereverItWasStartedFrom) {
    desktop.currentDirectory = "/home/user/work";
    programFolder = "/usr/lib/x86_64-linux-gnu/lumbra-nss/";
    StartStandard();
    wizard->OnCommand(Command::Contents);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(view.messages[0].text, " Corvalt Lumbra Novell NSS.chm not found");
    EXPECT_TRUE(desktop.opened.empty());

    desktop.existing.insert("/home/user/work/Corvalt Lumbra Novell NSS.chm");
    desktop.existing.insert(UserGuidePath("/home/user/work/"));
    wizard->OnCommand(Command::Contents);
    EXPECT_EQ(view.messages.size(), 2u) << "neither the Windows help file nor a guide of the current folder";
    EXPECT_TRUE(desktop.opened.empty());

    desktop.existing.insert(UserGuidePath(programFolder));
    EXPECT_EQ(wizard->FilterKey(Key::F1), KeyAction::Consumed);
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0], UserGuidePath(programFolder));
    EXPECT_EQ(desktop.openedAs[0], ShowWindowAs::Normal);
    EXPECT_EQ(view.messages.size(), 2u);

    // With nothing to open web pages, the message says where the guide is.
    desktop.unassociatedExtensions.insert(".html");
    wizard->OnCommand(Command::Contents);
    ASSERT_EQ(view.messages.size(), 3u);
    EXPECT_EQ(view.messages[2].kind, MessageKind::Error);
    EXPECT_NE(view.messages[2].text.find(UserGuidePath(programFolder)), std::string::npos) << view.messages[2].text;
}

TEST_F(WizardTest, TheHomePageOpensMaximised) {
    StartStandard();
    wizard->OnHomePageButton();
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0], WizardController::kHomePage);
    EXPECT_EQ(desktop.openedAs[0], ShowWindowAs::Maximised);
}

TEST_F(WizardTest, LiveUpdateAsksThenStartsTheUpdaterAndEnds) {
    desktop.currentDirectory = "/opt/lumbra/";
    StartStandard();
    wizard->OnToolbarButton(7);
    ASSERT_EQ(Messages(), std::vector<std::string>{"Live Update file not found. Please re-install the software."});
    EXPECT_EQ(view.messages[0].kind, MessageKind::Error);

    desktop.existing.insert("/opt/lumbra/Lumbra Live Update.exe");
    view.answers = {Answer::No};
    wizard->OnCommand(Command::LiveUpdate);
    EXPECT_EQ(view.messages.back().text,
              "The application will be closed if you want to run Live Update of the software. Continue ?");
    EXPECT_EQ(view.messages.back().kind, MessageKind::Question);
    EXPECT_TRUE(desktop.started.empty());

    view.answers = {Answer::Yes};
    wizard->OnCommand(Command::LiveUpdate);
    ASSERT_EQ(desktop.started, std::vector<std::string>{"/opt/lumbra/Lumbra Live Update.exe"});
    EXPECT_EQ(desktop.startArguments[0], std::vector<std::string>{"<QVDXD>"});
    EXPECT_EQ(desktop.endedWith, std::vector<int>{0});
}

TEST_F(WizardTest, LiveUpdateThatCannotStartKeepsTheProgramRunning) {
    desktop.currentDirectory = "/opt/lumbra";
    StartStandard();
    desktop.existing.insert("/opt/lumbra/Lumbra Live Update.exe");
    desktop.programsStart = false;
    view.answers = {Answer::Yes};
    wizard->OnCommand(Command::LiveUpdate);
    EXPECT_TRUE(desktop.endedWith.empty());
    EXPECT_EQ(view.messages.back().text, "Live Update file not found. Please re-install the software.");
}

TEST_F(WizardTest, ExitAsksAndEndsTheProcess) {
    StartStandard();
    ToBrowse();
    wizard->OnCommand(Command::Exit);
    EXPECT_EQ(view.messages.back().text, "Do you really want to exit ?");
    EXPECT_EQ(view.messages.back().kind, MessageKind::Question);
    EXPECT_TRUE(desktop.endedWith.empty());
    EXPECT_FALSE(session.records.files().empty());

    view.answers = {Answer::Yes};
    wizard->OnCommand(Command::Exit);
    EXPECT_TRUE(session.records.files().empty());
    EXPECT_EQ(desktop.opened.back(), WizardController::kHomePage);
    EXPECT_EQ(desktop.endedWith, std::vector<int>{0});
}

TEST_F(WizardTest, CloseAsksAndLetsTheWindowClose) {
    StartStandard();
    EXPECT_FALSE(wizard->OnCloseRequest());
    view.answers = {Answer::Yes};
    EXPECT_TRUE(wizard->OnCloseRequest());
    EXPECT_EQ(desktop.opened.back(), WizardController::kHomePage);
    EXPECT_TRUE(desktop.endedWith.empty());
}

}  // namespace
}  // namespace lumbra::test
