#pragma once
// Turning a caller's markup into the text the tokenizer reads, and the text transforms.
#include <string>
#include <string_view>

namespace lumbra {

// Replaces the entities (one table entry after the other, each over the whole text, so that
// "&amp;lt;" ends as a literal "<"), drops carriage returns and turns line feeds into "<br>"
// and tabs into "<t>".
std::string PrepareMarkupText(std::string_view text);

enum class TextTransform { None, Uppercase, Lowercase, Capitalize };

// "capitalize" lower-cases the run, then raises each letter at the run start or after a space.
std::string TransformText(std::string_view text, TextTransform transform);

}  // namespace lumbra
