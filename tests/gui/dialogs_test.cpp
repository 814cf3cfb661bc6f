// The dialogs of the main window as a user meets them: their pictures, Settings' Cancel, the
// File Filters messages, and the Find window's Stop question and ignored Esc.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/drive_information.h"
#include "app/file_filters_dialog.h"
#include "app/snapshot_texts.h"
#include "gui/about_dialog.h"
#include "gui/captioned_values_dialog.h"
#include "gui/dialog_units.h"
#include "gui/file_filters_window.h"
#include "gui/find_window.h"
#include "gui/gui_harness.h"
#include "gui/mode_of_recovery_dialog.h"
#include "gui/settings_dialog.h"
#include "toolkit/qt/group_radio_button.h"
#include "toolkit/qt/pictures.h"

namespace lumbra {
namespace {

using test::MainWindowHarness;

// The dialog shows the top-left corner of its picture and has its size in dialog units.
void ExpectPictureAndSize(QWidget& dialog, const QString& picture, int width, int height) {
    SCOPED_TRACE(dialog.windowTitle().toStdString());
    EXPECT_EQ(dialog.size(), DialogUnits(DialogFont()).size(width, height));
    const QImage expected = PictureImage(picture);
    ASSERT_FALSE(expected.isNull());
    dialog.show();
    const QImage shown = dialog.grab().toImage();
    for (const QPoint corner : {QPoint(2, 2), QPoint(dialog.width() - 3, 4)})
        EXPECT_EQ(QColor(shown.pixel(corner)), QColor(expected.pixel(corner))) << corner.x() << "," << corner.y();
    dialog.hide();
}

TEST(Dialogs, EachDrawsItsBackgroundPictureAtItsSize) {
    MainWindowHarness h;
    SettingsDialog settings({}, h.window.get());
    ExpectPictureAndSize(settings, "background_settings", 304, 265);
    FileFiltersDialog rules(h.session.filters, *h.window);
    FileFiltersWindow filters(rules, h.window.get());
    ExpectPictureAndSize(filters, "background_filters", 210, 145);
    ModeOfRecoveryDialog mode({"Select Mode Of Recovery", "Please select the mode of recovery.", true, false},
                              h.window.get());
    ExpectPictureAndSize(mode, "background_filters", 210, 145);
    CaptionedValuesDialog properties(PropertiesLook(), {{"Name :", "report.doc"}}, h.window.get());
    ExpectPictureAndSize(properties, "background_properties", 237, 204);
    CaptionedValuesDialog drive(DriveInformationLook(), {{"Pool Name         :", "OFFICE"}}, h.window.get());
    ExpectPictureAndSize(drive, "background_drive_information", 248, 203);
    AboutDialog about("Corvalt Lumbra Novell NSS Version 4.03", h.window.get());
    ExpectPictureAndSize(about, "background_about", 304, 265);
}

// Which drive holds a snapshot's disk: every row is offered, the suggested one first, and the
// row picked is answered; a cancel answers none.
TEST(Dialogs, TheSnapshotDriveQuestionOffersEveryRowAndAnswersThePickedOne) {
    MainWindowHarness h;
    const std::vector<std::string> rows = {"Storage Device0 (/tmp/a.img)", "Storage Device1 (/tmp/b.img)",
                                           "Storage Device2 (/tmp/c.img)"};
    h.answers.expect([](QWidget* widget) {
        ASSERT_EQ(widget->objectName(), "SnapshotDriveDialog");
        auto* choice = widget->findChild<QComboBox*>();
        ASSERT_NE(choice, nullptr);
        EXPECT_EQ(choice->count(), 3);
        EXPECT_EQ(choice->currentIndex(), 1);
        EXPECT_EQ(choice->itemText(2), "Storage Device2 (/tmp/c.img)");
        choice->setCurrentIndex(2);
        if (qEnvironmentVariableIsSet("LUMBRA_X11_GRABS"))
            widget->grab().save(qEnvironmentVariable("LUMBRA_X11_GRABS") + "/snapshot_drive_question.png");
        qobject_cast<QDialog*>(widget)->accept();
    });
    EXPECT_EQ(h.window->AskSnapshotDrive(kSnapshotDiskNotFoundText, rows, 1), std::optional<size_t>(2));
    h.answers.expect([](QWidget* widget) { qobject_cast<QDialog*>(widget)->reject(); });
    EXPECT_FALSE(h.window->AskSnapshotDrive(kSnapshotDiskSeveralText, rows, 0).has_value());
    EXPECT_TRUE(h.answers.allAnswered());
}

// Drive Information of a stopped mount has a ninth row; it lies above the OK button, whole.
TEST(Dialogs, DriveInformationOfAStoppedMountShowsItsRowWhole) {
    MainWindowHarness h;
    std::vector<CaptionedValue> rows(8, {"Total Files          :", "282779"});
    rows.push_back({"Mount               :", std::string(kPartialMountValue)});
    CaptionedValuesDialog drive(DriveInformationLook(), rows, h.window.get());
    drive.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&drive));
    const QList<QLabel*> values = drive.findChildren<QLabel*>("Value");
    ASSERT_EQ(values.size(), 9);
    QLabel* last = values.back();
    EXPECT_EQ(last->text().toStdString(), kPartialMountValue);
    EXPECT_LE(last->fontMetrics().horizontalAdvance(last->text()), last->width());
    const QPushButton* ok = drive.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_LT(last->geometry().bottom(), ok->geometry().top());
    EXPECT_LT(values[7]->geometry().bottom(), last->geometry().top());
    if (qEnvironmentVariableIsSet("LUMBRA_X11_GRABS"))
        drive.grab().save(qEnvironmentVariable("LUMBRA_X11_GRABS") + "/drive_information_partial.png");
}

TEST(Dialogs, PropertiesShowANameFromTheDiskAsItReads) {
    MainWindowHarness h;
    const std::string name = "<i>x</i><br>y";
    CaptionedValuesDialog properties(PropertiesLook(), {{"Name :", name}}, h.window.get());
    const auto* value = properties.findChild<QLabel*>("Value");
    ASSERT_NE(value, nullptr);
    EXPECT_GE(value->sizeHint().width(), value->fontMetrics().horizontalAdvance(QString::fromStdString(name)));
}

TEST(Dialogs, SettingsCancelKeepsTheSettingsAndOkStoresThem) {
    MainWindowHarness h;
    const uint32_t sectorsBefore = h.session.settings.sectorsPerRead;
    const uint16_t retriesBefore = h.session.settings.badSectorRetries;
    const uint16_t duplicatesBefore = h.session.settings.duplicateAction;
    auto change = [](QWidget* widget) {
        ASSERT_EQ(widget->objectName(), "SettingsDialog");
        widget->findChild<QComboBox*>("Sectors")->setCurrentIndex(99);
        widget->findChild<QComboBox*>("Retries")->setCurrentIndex(6);
        widget->findChild<GroupRadioButton*>("Duplicate3")->click();
    };
    h.answers.expect([&](QWidget* widget) {
        change(widget);
        for (QPushButton* button : widget->findChildren<QPushButton*>())
            if (button->text() == "Cancel") button->click();
    });
    h.chooseCommand(Command::Settings);
    EXPECT_EQ(h.session.settings.sectorsPerRead, sectorsBefore);
    EXPECT_EQ(h.session.settings.badSectorRetries, retriesBefore);
    EXPECT_EQ(h.session.settings.duplicateAction, duplicatesBefore);

    h.answers.expect([&](QWidget* widget) {
        change(widget);
        QTest::keyClick(widget, Qt::Key_Escape);
    });
    h.chooseCommand(Command::Settings);
    EXPECT_EQ(h.session.settings.sectorsPerRead, sectorsBefore);

    h.answers.expect([&](QWidget* widget) {
        change(widget);
        for (QPushButton* button : widget->findChildren<QPushButton*>())
            if (button->text() == "OK") button->click();
    });
    h.chooseCommand(Command::Settings);
    EXPECT_EQ(h.session.settings.sectorsPerRead, 100u);
    EXPECT_EQ(h.session.settings.badSectorRetries, 7u);
    EXPECT_EQ(h.session.settings.duplicateAction, 3u);
    EXPECT_TRUE(h.answers.allAnswered());
}

struct FiltersWindow : ::testing::Test {
    FiltersWindow() : rules(h.session.filters, *h.window), window(rules, h.window.get()) {
        window.show();
        QApplication::setActiveWindow(&window);
        edit = window.findChild<QLineEdit*>("FilterEdit");
        list = window.findChild<QListWidget*>("FilterList");
    }
    // Types the text and presses Add; a test expects the message box that may follow first.
    void add(const QString& text) {
        edit->setText(text);
        for (QPushButton* button : window.findChildren<QPushButton*>())
            if (button->text() == "&Add") button->click();
    }
    QStringList rows() const {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
        return texts;
    }

    MainWindowHarness h;
    FileFiltersDialog rules;
    FileFiltersWindow window;
    QLineEdit* edit = nullptr;
    QListWidget* list = nullptr;
};

TEST_F(FiltersWindow, WrongEntriesAreRefusedWithTheirMessageAndTheListStays) {
    add("*.doc");
    add("*.DOC");
    EXPECT_EQ(rows(), QStringList({"*.DOC", "*.doc"}));
    EXPECT_TRUE(edit->text().isEmpty());

    h.answers.expect(h.answers.pressOk());
    add("*.doc");
    EXPECT_EQ(h.answers.texts().back(), "      Filter already exists in the list     ");
    EXPECT_EQ(edit->selectedText(), "*.doc");

    h.answers.expect(h.answers.pressOk());
    add("");
    EXPECT_EQ(h.answers.texts().back(), "      You can not add a blank entry.     ");

    h.answers.expect(h.answers.pressOk());
    add("abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(h.answers.texts().back(), "      Filter too long     ");
    EXPECT_EQ(edit->selectedText(), "abcdefghijklmnopqrs");
    EXPECT_EQ(window.focusWidget(), edit);
    EXPECT_EQ(rows(), QStringList({"*.DOC", "*.doc"}));
    EXPECT_TRUE(h.answers.allAnswered());
}

TEST_F(FiltersWindow, TheListHoldsNinetyNineFiltersAndEscapeKeepsIt) {
    for (int n = 0; n < 99; ++n) add(QString("*.%1").arg(n));
    ASSERT_EQ(list->count(), 99);
    h.answers.expect(h.answers.pressOk());
    add("*.100");
    EXPECT_EQ(h.answers.texts().back(), "      You cannot add more Filters     ");
    EXPECT_EQ(list->count(), 99);
    list->setCurrentRow(0);
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text() == "&Remove") button->click();
    EXPECT_EQ(list->count(), 98);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(rules.rows().size(), 98u);
    EXPECT_EQ(rules.rows().front(), "*.97");
}

// Enough matching files that a search cannot end before the test looks: a worker that runs
// ahead of the window waits for it.
RecoveredTree ManyTextFiles(int count) {
    RecoveredTree tree;
    for (int n = 0; n < count; ++n)
        tree.AddFileRecord("file" + std::to_string(n) + ".txt", static_cast<uint64_t>(n) + 1, 0,
                           static_cast<uint64_t>(n), 0, 0, n, 0);
    return tree;
}

constexpr int kFiles = 100000;

struct FindWindowTest : ::testing::Test {
    FindWindowTest() : tree(ManyTextFiles(kFiles)), find(tree, nullptr) {
        find.show();
        start = find.findChild<QPushButton*>("StartSearch");
        stop = find.findChild<QPushButton*>("StopSearch");
        results = find.findChild<QTreeWidget*>("FindResults");
    }
    void search(const QString& text) {
        find.findChild<QLineEdit*>("SearchText")->setText(text);
        start->click();
    }

    test::ModalAnswerer answers;
    RecoveredTree tree;
    FindWindow find;
    QPushButton* start = nullptr;
    QPushButton* stop = nullptr;
    QTreeWidget* results = nullptr;
};

TEST_F(FindWindowTest, EscapeIsIgnoredWhileSearchingAndStopAsksFirst) {
    search("*.TXT");
    ASSERT_TRUE(find.searching());
    EXPECT_FALSE(start->isEnabled());
    EXPECT_TRUE(stop->isEnabled());
    QTest::keyClick(&find, Qt::Key_Escape);
    EXPECT_TRUE(find.isVisible());

    answers.expect(answers.pressNo());
    stop->click();
    EXPECT_EQ(answers.texts().back(), "Do you want to stop file searching ?");
    EXPECT_TRUE(find.searching());
    EXPECT_TRUE(stop->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return results->topLevelItemCount() > 0; }, test::kEventLimitMs));

    answers.expect(answers.pressYes());
    stop->click();
    EXPECT_FALSE(find.searching());
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(stop->isEnabled());
    const int found = results->topLevelItemCount();
    EXPECT_GT(found, 0);
    EXPECT_LT(found, kFiles);
    EXPECT_EQ(find.findChild<QLabel*>("FilesFound")->text(), QString::number(found));
    QTest::qWait(50);
    EXPECT_EQ(results->topLevelItemCount(), found);

    QTest::keyClick(&find, Qt::Key_Escape);
    EXPECT_FALSE(find.isVisible());
}

TEST_F(FindWindowTest, AWholeSearchListsEveryMatchInFileOrder) {
    search("FILE9999?.txt");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !find.searching() && start->isEnabled(); }, test::kEventLimitMs));
    ASSERT_EQ(results->topLevelItemCount(), 10);
    EXPECT_EQ(results->topLevelItem(0)->text(0), "FILE99990.TXT");
    EXPECT_EQ(results->topLevelItem(9)->text(1), "\\");
    EXPECT_EQ(results->topLevelItem(9)->text(2), "99999");
    EXPECT_EQ(find.findChild<QLabel*>("LastFile")->text(), "FILE99999.TXT");
    EXPECT_FALSE(stop->isEnabled());
}

// A view takes a double-click on the item its first press chose.
void DoubleClick(QTreeWidget* tree, QTreeWidgetItem* item) {
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

// A double-click on a result closes the window on that file, also while the search runs.
TEST_F(FindWindowTest, ADoubleClickedRowClosesTheWindowOnItsFile) {
    search("FILE9999?.txt");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !find.searching() && start->isEnabled(); }, test::kEventLimitMs));
    ASSERT_EQ(results->topLevelItemCount(), 10);
    EXPECT_EQ(find.chosenFile(), std::nullopt);
    DoubleClick(results, results->topLevelItem(2));
    EXPECT_FALSE(find.isVisible());
    EXPECT_EQ(find.result(), QDialog::Accepted);
    EXPECT_EQ(find.chosenFile(), tree.files()[99992].itemNumber);
}

TEST_F(FindWindowTest, ADoubleClickWhileSearchingEndsTheSearchFirst) {
    search("*.TXT");
    ASSERT_TRUE(QTest::qWaitFor([&] { return results->topLevelItemCount() > 0; }, test::kEventLimitMs));
    DoubleClick(results, results->topLevelItem(0));
    EXPECT_FALSE(find.searching());
    EXPECT_FALSE(find.isVisible());
    EXPECT_EQ(find.chosenFile(), tree.files()[0].itemNumber);
}

}  // namespace
}  // namespace lumbra
