#pragma once
// A name from the disk as the picture writes it: UTF-8, with every control character (which no
// XML document may carry, escaped or not) shown as U+FFFD. Markup escaping stays the job of
// whatever writes the text into a document.
#include <string>
#include <string_view>

namespace lumbra {

std::string DiskNameText(std::string_view latin1);

}  // namespace lumbra
