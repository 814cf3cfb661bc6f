#include <gtest/gtest.h>

#include "toolkit/message_box_rules.h"

namespace lumbra {
namespace {

using namespace message_box;

struct SetCase {
    uint32_t style;
    std::vector<int> buttons;
};

class ButtonSets : public ::testing::TestWithParam<SetCase> {};

TEST_P(ButtonSets, FollowTheStyle) {
    EXPECT_EQ(MessageBoxButtons(GetParam().style, {}), GetParam().buttons);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonSets,
    ::testing::Values(SetCase{0, {kOk}}, SetCase{1, {kOk, kCancel}}, SetCase{2, {kAbort, kRetry, kIgnore}},
                      SetCase{3, {kYes, kNo, kCancel}}, SetCase{3 | kYesToAll, {kYes, kYesAll, kNo, kCancel}},
                      SetCase{4 | kYesToAll | kNoToAll, {kYes, kYesAll, kNo, kNoAll}},
                      SetCase{5, {kRetry, kCancel}}, SetCase{6, {kCancel, kRetry, kContinue}},
                      SetCase{7, {kContinue, kAbort}}, SetCase{8, {kSkip, kSkipAll, kCancel}},
                      SetCase{9, {kIgnore, kIgnoreAll, kCancel}}, SetCase{0 | kHelpButton, {kOk, kHelp}},
                      SetCase{15, {kOk}}));

TEST(MessageBoxButtons, ReportMoreAndCustomButtons) {
    MessageBoxParams params;
    params.report = [] {};
    params.moreText = "details";
    EXPECT_EQ(MessageBoxButtons(kHelpButton, params), (std::vector<int>{kOk, kHelp, kReport, kMore}));
    params.customButtons = {23, 24};
    params.customButtonLines = "First\nSecond";
    params.report = nullptr;
    params.moreText.clear();
    EXPECT_EQ(MessageBoxButtons(1, params), (std::vector<int>{23, 24}));
    EXPECT_EQ(ButtonCaption(24, 0, params), "Second");
    EXPECT_FALSE(HasCancel({23, 24}));
    EXPECT_TRUE(HasCancel(MessageBoxButtons(1, {})));
}

TEST(MessageBoxButtons, DefaultIndexOutOfRangeIsTheFirst) {
    EXPECT_EQ(DefaultButtonIndex(0x100, 2), 1);
    EXPECT_EQ(DefaultButtonIndex(0x200, 2), 0);
    EXPECT_EQ(DefaultButtonIndex(0, 3), 0);
}

TEST(MessageBoxCaptions, CustomThenResourceThenDefault) {
    MessageBoxParams params;
    EXPECT_EQ(ButtonCaption(kYesAll, 0, params), "Yes to all");
    EXPECT_EQ(ButtonCaption(kLessMore, 0, params), "<< More");
    params.resourceStrings = [](int number) -> std::optional<std::string> {
        if (number == 9007) return "Ja";
        if (number == 9012) return "Nicht mehr zeigen";
        return std::nullopt;
    };
    EXPECT_EQ(ButtonCaption(kYes, 0, params), "Ja");
    EXPECT_EQ(ButtonCaption(kNo, 0, params), "No");
    EXPECT_EQ(ButtonCaption(kYes, kNoResourceCaptions, params), "Yes");
    EXPECT_EQ(CheckBoxCaption(0, params), "Nicht mehr zeigen");
    EXPECT_EQ(CheckBoxCaption(kNoResourceCaptions, params), "Do not show again");
    params.customCaptions[kYes] = "Sure";
    EXPECT_EQ(ButtonCaption(kYes, 0, params), "Sure");
    EXPECT_EQ(CaptionStringNumber(kMore), 9010);
}

TEST(MessageBoxCaptions, BoxCaptionFallsBackToOwnerThenError) {
    EXPECT_EQ(BoxCaption("Mine", "Recovery"), "Mine");
    EXPECT_EQ(BoxCaption("", "Recovery"), "Recovery");
    EXPECT_EQ(BoxCaption("", ""), "Error");
    EXPECT_EQ(CountdownCaption("Title", 3), "Title (3 seconds remaining)");
    EXPECT_EQ(CountdownButtonCaption("OK", 5), "OK = 5");
    EXPECT_EQ(CountdownButtonCaption("100%d", 5), "100%d = 5");
}

TEST(MessageBoxLayout, ButtonSizeFromTheLargestCaption) {
    EXPECT_EQ(ButtonSize(45, 13), (MarkupSize{80, 23}));
    EXPECT_EQ(ButtonSize(20, 15), (MarkupSize{36, 27}));
}

TEST(MessageBoxRemembering, KeyAndValueNames) {
    EXPECT_EQ(RememberedAnswerKey("Lumbra", "lumbra-nss"), "Software\\Lumbra\\lumbra-nss\\MarkupMessageBox");
    EXPECT_EQ(RememberedAnswerKey("", "lumbra-nss"), "Software\\lumbra-nss\\MarkupMessageBox");
    EXPECT_EQ(RememberedAnswerName("ask", 12), "ask12");
}

TEST(MessageBoxMarkup, IconTableAndRightAlignment) {
    EXPECT_EQ(MessageMarkup("Hi", 0, std::nullopt, 32, 5), "Hi");
    EXPECT_EQ(MessageMarkup("Hi", kRightAligned, std::nullopt, 32, 5), "<right>Hi</right>");
    EXPECT_EQ(MessageMarkup("Hi", 0, 0x1a2b, 32, 5),
              "<table cellpadding=5><tr><td width=32><icon handle=0x1A2B></td><td>Hi</td></tr></table>");
}

}  // namespace
}  // namespace lumbra
