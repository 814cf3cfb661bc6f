#pragma once
// The text colour of a file-list row, chosen from its "Type" text; the background is white.
#include <cstdint>
#include <string_view>

namespace lumbra {

struct RowColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const RowColour&) const = default;
};

constexpr RowColour kDeletedRowColour{150, 150, 150};
constexpr RowColour kCompressedRowColour{255, 0, 0};
constexpr RowColour kPlainRowColour{0, 0, 0};
// A file with unreadable bytes, or a folder holding one: a dark amber that none of the type
// colours uses, dark enough for small text on white (6.6:1) even where edges are smoothed.
constexpr RowColour kDamagedRowColour{150, 70, 0};

// Grey for a type beginning with "Deleted ", else red for one beginning with "Compressed ",
// else black. Letter case counts.
RowColour ListRowColour(std::string_view typeText);
// A damaged file's row, and a folder's holding one, stand out whatever their type.
RowColour ListRowColour(std::string_view typeText, bool damaged);

}  // namespace lumbra
