#include "app/row_colour.h"

namespace lumbra {

RowColour ListRowColour(std::string_view typeText) {
    if (typeText.starts_with("Deleted ")) return kDeletedRowColour;
    if (typeText.starts_with("Compressed ")) return kCompressedRowColour;
    return kPlainRowColour;
}

RowColour ListRowColour(std::string_view typeText, bool damaged) {
    return damaged ? kDamagedRowColour : ListRowColour(typeText);
}

}  // namespace lumbra
