#pragma once
// Finds the tables in markup and cuts them into rows and cells before they are laid out, in
// one scan of the text.
#include <string>
#include <string_view>
#include <vector>

namespace lumbra {

// Tables nested deeper than this are left in the text, where their tags have no effect.
inline constexpr int kMaxTableDepth = 64;

// A stretch of markup laid out one part below the other: text runs and tables.
struct BlockSource {
    struct Part {
        std::string_view run;  // a text run, when `table` is -1
        int table = -1;        // else the index of the table in MarkupSource::tables
    };
    std::vector<Part> parts;
};

struct CellSource {
    std::string params;
    BlockSource content;
};

struct RowSource {
    std::string params;
    std::vector<CellSource> cells;
};

struct TableSource {
    std::string params;
    std::vector<RowSource> rows;
};

// The whole text: its top-level block and every table, nested ones included. The runs point
// into the text, which must outlive the source.
struct MarkupSource {
    BlockSource body;
    std::vector<TableSource> tables;
};

// Reads the tables of a text. A table runs from "<table" to its matching "</table>" (or the
// text's end); a row from "<tr" to "</tr>", the next row or the table's end; a cell from "<td"
// to "</td>", the next cell or the row's end. Text in a table outside its cells is dropped;
// "<" escaped by a second "<" is never a tag.
MarkupSource ReadMarkupSource(std::string_view text);

}  // namespace lumbra
