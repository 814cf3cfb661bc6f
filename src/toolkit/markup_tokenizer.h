#pragma once
// Splits prepared markup into text runs and tags.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumbra {

struct MarkupToken {
    enum class Kind { Text, Tag };
    Kind kind = Kind::Text;
    std::string text;    // the text of a run, or the name of a tag without its "/"
    std::string params;  // a tag's parameter text, leading spaces removed
    bool closing = false;
};

class MarkupTokenizer {
public:
    explicit MarkupTokenizer(std::string_view text) : text_(text) {}
    // The next text run or tag; nothing at the end. Empty tags and a "<" that is never
    // closed are dropped; "<<" stands for one literal "<".
    std::optional<MarkupToken> next();

private:
    std::string_view text_;
    size_t pos_ = 0;
};

using MarkupAttributes = std::vector<std::pair<std::string, std::string>>;

// Reads `name`, `name=value`, `name = "quoted value"` pairs from a tag's parameter text.
MarkupAttributes ParseAttributes(std::string_view params);

// The value of the first attribute of that name, if present.
const std::string* FindAttribute(const MarkupAttributes& attributes, std::string_view name);

// The count written as "=n" directly behind an object tag's name (br=2); 1 without one.
int ObjectTagCount(std::string_view params);

}  // namespace lumbra
