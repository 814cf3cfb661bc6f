#include <gtest/gtest.h>

#include "toolkit/markup_escape.h"
#include "toolkit/markup_text.h"
#include "toolkit/markup_tokenizer.h"

namespace lumbra {
namespace {

struct PrepareCase {
    const char* input;
    const char* prepared;
};

class PrepareMarkup : public ::testing::TestWithParam<PrepareCase> {};

TEST_P(PrepareMarkup, ReplacesEntitiesAndLineEnds) {
    EXPECT_EQ(PrepareMarkupText(GetParam().input), GetParam().prepared);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrepareMarkup,
    ::testing::Values(PrepareCase{"a &lt; b", "a << b"}, PrepareCase{"&amp;lt;", "<<"},
                      PrepareCase{"&gt;&quot;&nbsp;", ">\" "}, PrepareCase{"&copy;&euro;", "\xA9\x88"},
                      PrepareCase{"&bull;&trade;&reg;&para;&pound;&iquest;", "\x95\x99\xAE\xB6\xA3\xBF"},
                      PrepareCase{"one\r\ntwo", "one<br>two"}, PrepareCase{"a\tb", "a<t>b"},
                      PrepareCase{"&unknown;", "&unknown;"}, PrepareCase{"\r\r", ""}));

std::string TextOf(std::string_view prepared) {
    MarkupTokenizer tokenizer(prepared);
    std::string text;
    while (auto token = tokenizer.next()) {
        if (token->kind == MarkupToken::Kind::Text) text += token->text;
    }
    return text;
}

TEST(PrepareMarkup, EscapedLessThanReadsAsOneLiteral) {
    EXPECT_EQ(TextOf(PrepareMarkupText("&lt;b&gt;")), "<b>");
    EXPECT_EQ(TextOf(PrepareMarkupText("&amp;lt;")), "<");
    EXPECT_EQ(TextOf("x<<y"), "x<y");
}

TEST(PrepareMarkup, EscapedNamesReadAsTheyAre) {
    for (const std::string name : {"<hr width=999999999px>", "a<<b <b>c</b> <table><tr><td>", "<", "plain"}) {
        EXPECT_EQ(TextOf(PrepareMarkupText(EscapeMarkup(name))), name);
    }
}

TEST(TextTransform, CapitalizeLowersThenRaisesWordStarts) {
    EXPECT_EQ(TransformText("hELLO wORLD", TextTransform::Capitalize), "Hello World");
    EXPECT_EQ(TransformText("Mixed 1", TextTransform::Uppercase), "MIXED 1");
    EXPECT_EQ(TransformText("Mixed", TextTransform::Lowercase), "mixed");
    EXPECT_EQ(TransformText("As is", TextTransform::None), "As is");
}

}  // namespace
}  // namespace lumbra
