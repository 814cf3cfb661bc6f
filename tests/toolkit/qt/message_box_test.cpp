#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "memory_settings_store.h"
#include "support/qt/event_wait.h"
#include "toolkit/message_box_rules.h"
#include "toolkit/qt/app_messages.h"
#include "toolkit/qt/message_box.h"

namespace lumbra {
namespace {

using namespace message_box;
using testing::MemorySettingsStore;

std::string Program() { return QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString(); }

// Closes any box that a test did not expect to stay open, so that a fault fails instead of hanging.
void GuardAgainstModalBoxes(int milliseconds) {
    QTimer::singleShot(milliseconds, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a box stayed open";
            static_cast<MarkupMessageBox*>(modal)->press(kOk);
            modal->close();
        }
    });
}

TEST(MarkupMessageBox, RememberedAnswerIsReturnedWithoutShowing) {
    MemorySettingsStore store;
    store.numbers[{RememberedAnswerKey("Lumbra", Program()), "ask3"}] = kNo;
    MessageBoxParams params;
    params.settings = &store;
    params.registrySection = "Lumbra";
    params.registryPrefix = "ask";
    params.registryNumber = 3;
    GuardAgainstModalBoxes(3000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(MarkupMessageBox::Show(nullptr, "Again?", "Q", 4 | kRemember, &params), static_cast<uint32_t>(kNo));
    EXPECT_LT(clock.elapsed(), 2000);
    params.registryNumber = 4;
    EXPECT_EQ(MarkupMessageBox::RememberedAnswer(4 | kRemember, params), 0u);
}

TEST(MarkupMessageBox, TickedCheckBoxStoresTheAnswer) {
    MemorySettingsStore store;
    MessageBoxParams params;
    params.settings = &store;
    params.registryPrefix = "stop";
    params.registryNumber = 1;
    MarkupMessageBox box(nullptr, "Stop?", "Q", 4 | kRemember | kReportChecked, params);
    ASSERT_NE(box.checkBox(), nullptr);
    EXPECT_EQ(box.checkBox()->text(), "Do not show again");
    box.checkBox()->setChecked(true);
    box.press(kYes);
    EXPECT_EQ(box.answer(), kYes | kReportChecked);
    EXPECT_EQ(store.numbers.at({RememberedAnswerKey("", Program()), "stop1"}), kYes | kReportChecked);
    EXPECT_EQ(MarkupMessageBox::RememberedAnswer(4 | kRemember, params), kYes | kReportChecked);
}

TEST(MarkupMessageBox, YesNoToAllSetHasNoCloseBox) {
    MarkupMessageBox box(nullptr, "Overwrite?", "Files", 4 | kYesToAll | kNoToAll, {});
    EXPECT_EQ(box.buttonIds(), (std::vector<int>{kYes, kYesAll, kNo, kNoAll}));
    EXPECT_EQ(box.button(kYesAll)->text(), "Yes to all");
    EXPECT_EQ(box.button(kNoAll)->text(), "No to all");
    EXPECT_FALSE(box.closeBoxEnabled());
    EXPECT_FALSE(box.windowFlags() & Qt::WindowCloseButtonHint);
    box.show();
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_TRUE(box.isVisible());
    EXPECT_FALSE(box.close());
    EXPECT_EQ(box.answer(), 0u);
    box.press(kNoAll);
    EXPECT_EQ(box.answer(), static_cast<uint32_t>(kNoAll));
}

TEST(MarkupMessageBox, EscapeIsCancelWhereTheSetHasCancel) {
    MarkupMessageBox box(nullptr, "Go on?", "Q", 3, {});
    EXPECT_TRUE(box.closeBoxEnabled());
    box.show();
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_EQ(box.answer(), static_cast<uint32_t>(kCancel));
}

TEST(MarkupMessageBox, OneSecondAutomaticCountdownPressesTheDefaultButton) {
    MessageBoxParams params;
    params.autoSeconds = 1;
    {
        MarkupMessageBox box(nullptr, "Continue?", "Q", 1 | 0x100, params);
        EXPECT_EQ(box.button(kCancel)->text(), "Cancel = 1");
        EXPECT_EQ(box.button(kOk)->text(), "OK");
    }
    GuardAgainstModalBoxes(4000);
    QElapsedTimer clock;
    clock.start();
    const uint32_t answer = MarkupMessageBox::Show(nullptr, "Continue?", "Q", 1 | 0x100 | kNoSound, &params);
    EXPECT_EQ(answer, kCancel | kPressedByCountdown);
    EXPECT_GE(clock.elapsed(), 900);
}

TEST(MarkupMessageBox, DisabledCountdownKeepsButtonsAndCloseBoxOff) {
    MessageBoxParams params;
    params.disabledSeconds = 1;
    params.countdownInCaption = true;
    MarkupMessageBox box(nullptr, "Wait", "Title", 1, params);
    EXPECT_FALSE(box.button(kOk)->isEnabled());
    EXPECT_FALSE(box.closeBoxEnabled());
    EXPECT_EQ(box.windowTitle(), "Title (1 seconds remaining)");
    ASSERT_TRUE(QTest::qWaitFor([&] { return box.button(kOk)->isEnabled(); }, test::kEventLimitMs));
    EXPECT_TRUE(box.closeBoxEnabled());
    EXPECT_EQ(box.windowTitle(), "Title");

    params.countdownInCaption = false;
    params.disabledSeconds = 2;
    MarkupMessageBox onButton(nullptr, "Wait", "Title", 0, params);
    EXPECT_EQ(onButton.button(kOk)->text(), "OK = 2");
}

TEST(MarkupMessageBox, CaptionFallsBackToTheOwnerAndThenError) {
    QWidget owner;
    owner.setWindowTitle("Recovery");
    MarkupMessageBox owned(&owner, "x", "", 0, {});
    EXPECT_EQ(owned.windowTitle(), "Recovery");
    MarkupMessageBox alone(nullptr, "x", "", 0, {});
    EXPECT_EQ(alone.windowTitle(), "Error");
}

TEST(MarkupMessageBox, MoreButtonGrowsAndShrinksTheBox) {
    MessageBoxParams params;
    params.moreText = "Line one<br>Line two<br>Line three";
    MarkupMessageBox box(nullptr, "Short", "T", 0, params);
    const int collapsed = box.height();
    ASSERT_NE(box.button(kMore), nullptr);
    EXPECT_EQ(box.button(kMore)->text(), "More >>");
    box.press(kMore);
    EXPECT_TRUE(box.expanded());
    EXPECT_GT(box.height(), collapsed + 3 * 10);
    EXPECT_EQ(box.button(kMore)->text(), "<< More");
    box.press(kLessMore);
    EXPECT_EQ(box.height(), collapsed);
    EXPECT_EQ(box.answer(), 0u);
}

TEST(MarkupMessageBox, ReportAndHelpLeaveTheBoxOpen) {
    int reports = 0;
    MessageBoxParams params;
    params.report = [&] { ++reports; };
    MarkupMessageBox box(nullptr, "Oops", "T", 0, params);
    box.press(kReport);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(box.answer(), 0u);
}

TEST(MarkupMessageBox, LayoutKeepsMarginsAndOneButtonSize) {
    const MessageBoxParams params = ApplicationMessageParams();
    MarkupMessageBox box(nullptr, "No Pool Found  !! \r\nSelect Search Partition and than Click Next.",
                         kApplicationMessageCaption, 4 | MessageStyleOfKind(kMessageInformation), params);
    QPushButton* yes = box.button(kYes);
    QPushButton* no = box.button(kNo);
    EXPECT_EQ(yes->size(), no->size());
    EXPECT_EQ(no->x() - yes->geometry().right() - 1, 11);
    EXPECT_EQ(box.height() - no->geometry().bottom() - 1, 11);
    EXPECT_GE(yes->x(), 11);
    const QFontMetrics metrics(box.font());
    EXPECT_GT(box.width(), metrics.horizontalAdvance("Select Search Partition and than Click Next.") + 28);
}

TEST(MarkupMessageBox, CallersFontSizesTheButtons) {
    MessageBoxParams params;
    params.fontFamily = "DejaVu Sans";
    params.fontPointSize = 20;
    MarkupMessageBox large(nullptr, "x", "T", 0, params);
    MarkupMessageBox normal(nullptr, "x", "T", 0, {});
    EXPECT_GT(large.button(kOk)->height(), normal.button(kOk)->height());
    EXPECT_EQ(large.button(kOk)->font().pointSize(), 20);
}

TEST(ApplicationMessages, KindsAndBackground) {
    EXPECT_EQ(MessageStyleOfKind(kMessageInformation), 0x40u);
    EXPECT_EQ(MessageStyleOfKind(kMessageError), 0x10u);
    EXPECT_EQ(MessageStyleOfKind(kMessageQuestion), 0x20u);
    EXPECT_EQ(MessageStyleOfKind(kMessageWarning), 0x30u);
    EXPECT_EQ(MessageStyleOfKind(kMessageWarning + 1), 0u);
    const MessageBoxParams params = ApplicationMessageParams();
    EXPECT_EQ(params.window.effect, 12);
    EXPECT_EQ(params.window.background, 0xf7fd86u);
    EXPECT_EQ(params.window.middle, 0xffffffu);
    EXPECT_EQ(params.window.end, 0xf7fd86u);
    EXPECT_EQ(AskYesNo(9, "not shown"), 2);
}

TEST(ApplicationMessages, AskYesNoAnswersOneForYes) {
    QTimer::singleShot(200, [] {
        auto* box = qobject_cast<MarkupMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), kApplicationMessageCaption);
        box->press(kYes);
    });
    EXPECT_EQ(AskYesNo(kMessageQuestion, "Do you want to stop the current process ?"), 1);
}

TEST(MarkupMessageBox, ButtonsFitTheLongestCountdownCaption) {
    MessageBoxParams params;
    params.autoSeconds = 10;
    MarkupMessageBox box(nullptr, "Going on by itself", "Q", kNoSound, params);  // OK alone
    const QPushButton* ok = box.button(kOk);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK = 10");
    EXPECT_GE(ok->width(), QFontMetrics(ok->font()).horizontalAdvance(ok->text()) + 12);
}

// The width of the box that the application's question shows for a text; answered No.
int QuestionBoxWidth(const std::string& text) {
    int width = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&width] {
        if (auto* box = qobject_cast<MarkupMessageBox*>(QApplication::activeModalWidget())) {
            width = box->width();
            box->press(kNo);
        }
    });
    answer.start(10);
    EXPECT_EQ(AskYesNo(kMessageError, text), 2);
    return width;
}

TEST(ApplicationMessages, NamesFromTheDiskAreDrawnAsTheyRead) {
    // A recovered name that is legal markup, in the question asked when a file cannot be created.
    const int hostile = QuestionBoxWidth("Error creating file : /out/<hr width=999999999px>.  Continue Recovery ? ");
    const int tame = QuestionBoxWidth("Error creating file : /out/(hr width=999999999px).  Continue Recovery ? ");
    EXPECT_GT(hostile, 300);
    EXPECT_NEAR(hostile, tame, 16);  // only "<" and ">" against "(" and ")"
}

}  // namespace
}  // namespace lumbra
