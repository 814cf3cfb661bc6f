#include <gtest/gtest.h>

#include "app/file_filters_dialog.h"
#include "app/recovery_settings.h"
#include "support/numbered_name.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

TEST(RecoverySettingsRules, DefaultsFollowTheAccessMode) {
    RecoverySettings settings;
    settings.SetDefaults(AccessMode::F);
    EXPECT_EQ(settings.sectorsPerRead, 8u);
    settings.SetDefaults(AccessMode::N);
    EXPECT_EQ(settings.sectorsPerRead, 60u);
    EXPECT_EQ(settings.badSectorRetries, 3);
    EXPECT_EQ(settings.duplicateAction, 1);
}

TEST(RecoverySettingsRules, OpeningSelectsTheCurrentValues) {
    RecoverySettings settings;
    settings.sectorsPerRead = 100;
    settings.badSectorRetries = 1;
    settings.duplicateAction = 3;
    const SettingsDialogValues values = SettingsDialogOpening(settings);
    EXPECT_EQ(values.sectorsIndex, 99);
    EXPECT_EQ(values.retriesIndex, 0);
    EXPECT_EQ(values.duplicateChecked, (std::array<bool, 3>{false, false, true}));
}

struct OkCase {
    std::array<bool, 3> checked;
    uint16_t expectedAction;
};

class SettingsOk : public ::testing::TestWithParam<OkCase> {};

TEST_P(SettingsOk, TheLastCheckedButtonWinsAndNoneKeepsTheValue) {
    RecoverySettings settings;
    settings.duplicateAction = 2;
    SettingsDialogValues values{.sectorsIndex = 9, .retriesIndex = 9, .duplicateChecked = GetParam().checked};
    ApplySettingsDialog(values, settings);
    EXPECT_EQ(settings.duplicateAction, GetParam().expectedAction);
    EXPECT_EQ(settings.sectorsPerRead, 10u);
    EXPECT_EQ(settings.badSectorRetries, 10);
}

INSTANTIATE_TEST_SUITE_P(Radios, SettingsOk,
                         ::testing::Values(OkCase{{true, false, false}, 1}, OkCase{{false, true, false}, 2},
                                           OkCase{{false, false, true}, 3}, OkCase{{true, false, true}, 3},
                                           OkCase{{true, true, false}, 2}, OkCase{{false, false, false}, 2}));

TEST(RecoverySettingsRules, IndexesOutsideTheListsChangeNothing) {
    RecoverySettings settings;
    ApplySettingsDialog({.sectorsIndex = 100, .retriesIndex = -1}, settings);
    EXPECT_EQ(settings.sectorsPerRead, 60u);
    EXPECT_EQ(settings.badSectorRetries, 3);
}

TEST_F(WizardTest, SettingsCancelChangesNothing) {
    StartStandard();
    view.settingsDialog = [](SettingsDialogValues& values) {
        values.sectorsIndex = 4;
        values.retriesIndex = 6;
        values.duplicateChecked = {false, false, true};
        return false;
    };
    wizard->OnCommand(Command::Settings);
    EXPECT_EQ(session.settings.sectorsPerRead, 60u);
    EXPECT_EQ(session.settings.badSectorRetries, 3);
    EXPECT_EQ(session.settings.duplicateAction, 1);
    ASSERT_EQ(view.settingsDialogs.size(), 1u);
    EXPECT_EQ(view.settingsDialogs[0].sectorsIndex, 59);
    EXPECT_EQ(view.settingsDialogs[0].retriesIndex, 2);
}

TEST_F(WizardTest, SettingsOkStoresTheChoices) {
    StartStandard();
    ToBrowse();
    EXPECT_FALSE(session.settings.keepTimes);
    view.settingsDialog = [](SettingsDialogValues& values) {
        EXPECT_FALSE(values.keepTimesChecked);
        values.retriesIndex = 6;
        values.duplicateChecked = {false, true, false};
        values.keepTimesChecked = true;
        return true;
    };
    wizard->OnCommand(Command::SettingsFromList);
    EXPECT_EQ(session.settings.badSectorRetries, 7);
    EXPECT_EQ(session.settings.duplicateAction, 2);
    EXPECT_TRUE(session.settings.keepTimes);
    EXPECT_TRUE(SettingsDialogOpening(session.settings).keepTimesChecked);
}

// ---------------------------------------------------------------- file filters

class FiltersDialog : public ::testing::Test {
protected:
    FakeView view;
    FileFilterList filters;
};

TEST_F(FiltersDialog, AddPutsTheNewestFirstAndEmptiesTheField) {
    FileFiltersDialog dialog(filters, view);
    EXPECT_TRUE(dialog.Add("*.DOC").clear);
    EXPECT_TRUE(dialog.Add("*.doc").clear) << "letter case counts";
    EXPECT_EQ(dialog.rows(), (std::vector<std::string>{"*.doc", "*.DOC"}));
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(FiltersDialog, AddRefusesWithItsMessages) {
    FileFiltersDialog dialog(filters, view);
    dialog.Add("A");
    const FilterFieldAction same = dialog.Add("A");
    EXPECT_FALSE(same.clear);
    EXPECT_EQ(same.selectTo, 1u);
    const FilterFieldAction blank = dialog.Add("");
    EXPECT_TRUE(blank.focus);
    EXPECT_TRUE(dialog.Add(std::string(19, 'x')).clear);
    const FilterFieldAction tooLong = dialog.Add(std::string(20, 'y'));
    EXPECT_EQ(tooLong.selectFrom, 0u);
    EXPECT_EQ(tooLong.selectTo, 19u);
    EXPECT_EQ(dialog.rows().size(), 2u);
    std::vector<std::string> texts;
    for (const ShownMessage& message : view.messages) texts.push_back(message.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"      Filter already exists in the list     ",
                                               "      You can not add a blank entry.     ",
                                               "      Filter too long     "}));
}

TEST_F(FiltersDialog, AFullListRefusesEveryAdd) {
    std::vector<std::string> many;
    for (int i = 0; i < 99; ++i) many.push_back(NumberedName("p", i));
    filters.assign(many);
    FileFiltersDialog dialog(filters, view);
    dialog.Add("");
    dialog.Add("new");
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[0].text, "      You cannot add more Filters     ");
    EXPECT_EQ(view.messages[1].text, "      You cannot add more Filters     ");
    EXPECT_EQ(dialog.rows().size(), 99u);
}

TEST_F(FiltersDialog, RemoveNeedsASelectedRow) {
    filters.assign({"a", "b", "c"});
    FileFiltersDialog dialog(filters, view);
    dialog.Remove(std::nullopt);
    dialog.Remove(7);
    EXPECT_EQ(dialog.rows().size(), 3u);
    dialog.Remove(1);
    EXPECT_EQ(dialog.rows(), (std::vector<std::string>{"a", "c"}));
}

TEST_F(WizardTest, ClosingTheFiltersDialogShowsTheRootUnderTheNewFilters) {
    StartStandard();
    ToBrowse();
    ClickTree(TreeKind::Directory, "Documents");
    wizard->OnListFocused();
    view.filtersDialog = [](FileFiltersDialog& dialog) { dialog.Add("*.TXT"); };
    wizard->OnCommand(Command::FileFilters);
    EXPECT_EQ(session.filters.patterns(), std::vector<std::string>{"*.TXT"});
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"Documents", "Pictures", "readme.txt", "empty.txt"}));
    EXPECT_EQ(view.focused, Element::DirectoryTree);
    EXPECT_EQ(view.tree(TreeKind::Directory).selected, view.tree(TreeKind::Directory).root);
    EXPECT_EQ(session.wizard.treeHasFocus, 1);

    view.filtersDialog = [](FileFiltersDialog& dialog) {
        dialog.Remove(0);
        dialog.Add("*.DOC");
    };
    wizard->OnCommand(Command::FileFilters);
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"Documents", "Pictures"}));
    ClickTree(TreeKind::Directory, "Documents");
    EXPECT_EQ(RowNames(), std::vector<std::string>{"Report.doc"});
}

TEST_F(WizardTest, GoingBackAndNextEmptiesTheFilters) {
    StartStandard();
    ToBrowse();
    view.filtersDialog = [](FileFiltersDialog& dialog) { dialog.Add("*.DOC"); };
    wizard->OnCommand(Command::FileFilters);
    wizard->OnBack();
    ClickTree(TreeKind::Volumes, "DATA");
    wizard->OnNext();
    wizard->WaitForWorker();
    EXPECT_EQ(session.filters.count(), 0u);
    EXPECT_EQ(RowNames().size(), 4u);
}

}  // namespace
}  // namespace lumbra::test
