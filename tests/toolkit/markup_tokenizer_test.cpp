#include <gtest/gtest.h>

#include "toolkit/markup_tags.h"
#include "toolkit/markup_tokenizer.h"

namespace lumbra {
namespace {

std::vector<MarkupToken> Tokens(std::string_view text) {
    MarkupTokenizer tokenizer(text);
    std::vector<MarkupToken> tokens;
    while (auto token = tokenizer.next()) tokens.push_back(*token);
    return tokens;
}

TEST(MarkupTokenizer, AlternatesTextAndTags) {
    const auto tokens = Tokens("a<b>bold</b>c");
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0].text, "a");
    EXPECT_EQ(tokens[1].kind, MarkupToken::Kind::Tag);
    EXPECT_EQ(tokens[1].text, "b");
    EXPECT_FALSE(tokens[1].closing);
    EXPECT_EQ(tokens[3].text, "b");
    EXPECT_TRUE(tokens[3].closing);
    EXPECT_EQ(tokens[4].text, "c");
}

TEST(MarkupTokenizer, DoubledLessThanIsPartOfTheText) {
    const auto tokens = Tokens("1 << 2<br>");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].text, "1 < 2");
    EXPECT_EQ(tokens[1].text, "br");
}

TEST(MarkupTokenizer, UnterminatedLessThanIsDropped) {
    const auto tokens = Tokens("a < b");
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].text, "a  b");
}

TEST(MarkupTokenizer, EmptyTagIsIgnored) {
    const auto tokens = Tokens("a<>b");
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].text, "ab");
}

TEST(MarkupTokenizer, SplitsNameAndParameters) {
    const auto tokens = Tokens("<font   color=red size=3><br=2>");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].text, "font");
    EXPECT_EQ(tokens[0].params, "color=red size=3");
    EXPECT_EQ(tokens[1].text, "br");
    EXPECT_EQ(tokens[1].params, "=2");
    EXPECT_EQ(ObjectTagCount(tokens[1].params), 2);
    EXPECT_EQ(ObjectTagCount(""), 1);
}

TEST(MarkupAttributes, ReadsValuesQuotesAndBareNames) {
    const auto attributes = ParseAttributes("face = \"Courier New\" mask size='10pt' color=red ");
    ASSERT_EQ(attributes.size(), 4u);
    EXPECT_EQ(attributes[0], (std::pair<std::string, std::string>{"face", "Courier New"}));
    EXPECT_EQ(attributes[1], (std::pair<std::string, std::string>{"mask", ""}));
    EXPECT_EQ(attributes[2].second, "10pt");
    EXPECT_EQ(*FindAttribute(attributes, "color"), "red");
    EXPECT_EQ(FindAttribute(attributes, "colour"), nullptr);
}

TEST(MarkupTags, NamesAreExactAndLowerCase) {
    ASSERT_NE(FindMarkupTag("b"), nullptr);
    EXPECT_EQ(FindMarkupTag("B"), nullptr);
    EXPECT_EQ(FindMarkupTag("p"), nullptr);
    EXPECT_EQ(FindMarkupTag("bottom")->stackName, "vcenter");
    EXPECT_EQ(FindMarkupTag("middle")->stackName, "vcenter");
    EXPECT_EQ(FindMarkupTag("a")->stackName, "link");
    EXPECT_EQ(FindMarkupTag("em")->stackName, "italic");
    EXPECT_TRUE(FindMarkupTag("hr")->stackName.empty());
    EXPECT_EQ(FindMarkupTag("\n")->tag, MarkupTag::LineBreak);
    EXPECT_EQ(FindMarkupTag("\t")->tag, MarkupTag::Tab);
}

}  // namespace
}  // namespace lumbra
