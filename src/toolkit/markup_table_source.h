#pragma once
// Finds the tables in markup and cuts them into rows and cells before they are laid out.
#include <string>
#include <string_view>
#include <vector>

namespace lumbra {

struct CellSource {
    std::string params;
    std::string_view content;
};

struct RowSource {
    std::string params;
    std::vector<CellSource> cells;
};

struct TableSource {
    std::string params;
    std::vector<RowSource> rows;
    size_t end = 0;  // offset just behind the table's closing tag (or the text's end)
};

// Offset of the next opening tag `name` ("<name" followed by " " or ">") from `from`,
// skipping "<" escaped by a second "<"; npos when there is none.
size_t FindOpeningTag(std::string_view text, std::string_view name, size_t from);

// Reads the table whose opening tag starts at `start`. Nested tables stay inside their cell.
TableSource ReadTable(std::string_view text, size_t start);

}  // namespace lumbra
