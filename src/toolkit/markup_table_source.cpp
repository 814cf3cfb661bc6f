#include "toolkit/markup_table_source.h"

#include <algorithm>

namespace lumbra {

namespace {

constexpr size_t npos = std::string_view::npos;

// Finds "<name" + delimiter (opening) or "</name>" (closing), with "<<" skipped.
size_t FindTag(std::string_view text, std::string_view name, bool closing, size_t from) {
    size_t pos = from;
    while ((pos = text.find('<', pos)) != npos) {
        if (pos + 1 < text.size() && text[pos + 1] == '<') {
            pos += 2;
            continue;
        }
        size_t at = pos + 1;
        if (closing) {
            if (at >= text.size() || text[at] != '/') {
                ++pos;
                continue;
            }
            ++at;
        }
        if (text.compare(at, name.size(), name) == 0 && at + name.size() < text.size()) {
            const char next = text[at + name.size()];
            if (next == '>' || (!closing && next == ' ')) return pos;
        }
        ++pos;
    }
    return npos;
}

size_t TagEnd(std::string_view text, size_t tagStart) {
    const size_t gt = text.find('>', tagStart);
    return gt == npos ? text.size() : gt + 1;
}

std::string ParamsOf(std::string_view text, size_t tagStart, std::string_view name) {
    const size_t end = TagEnd(text, tagStart);
    const size_t from = std::min(tagStart + 1 + name.size(), end);
    std::string_view params = text.substr(from, end - from);
    if (!params.empty() && params.back() == '>') params.remove_suffix(1);
    while (!params.empty() && params.front() == ' ') params.remove_prefix(1);
    return std::string(params);
}

// The closing "</table>" that matches the table opened at `start`, counting nested ones.
size_t MatchingTableEnd(std::string_view text, size_t start) {
    int depth = 1;
    size_t pos = TagEnd(text, start);
    while (depth > 0) {
        const size_t open = FindTag(text, "table", false, pos);
        const size_t close = FindTag(text, "table", true, pos);
        if (close == npos) return npos;
        if (open != npos && open < close) {
            ++depth;
            pos = TagEnd(text, open);
        } else {
            --depth;
            if (depth == 0) return close;
            pos = TagEnd(text, close);
        }
    }
    return npos;
}

// Like FindTag, but tags inside nested tables are passed over.
size_t FindOutsideTables(std::string_view text, std::string_view name, bool closing, size_t from,
                         size_t limit) {
    size_t pos = from;
    while (pos < limit) {
        const size_t hit = FindTag(text, name, closing, pos);
        const size_t nested = FindTag(text, "table", false, pos);
        if (hit == npos || hit >= limit) return npos;
        if (nested == npos || nested > hit) return hit;
        const size_t nestedEnd = MatchingTableEnd(text, nested);
        if (nestedEnd == npos) return npos;
        pos = TagEnd(text, nestedEnd);
    }
    return npos;
}

std::vector<CellSource> ReadCells(std::string_view text, size_t from, size_t rowEnd) {
    std::vector<CellSource> cells;
    size_t pos = from;
    while (true) {
        const size_t cell = FindOutsideTables(text, "td", false, pos, rowEnd);
        if (cell == npos) return cells;
        const size_t contentStart = TagEnd(text, cell);
        size_t end = FindOutsideTables(text, "td", true, contentStart, rowEnd);
        const size_t nextCell = FindOutsideTables(text, "td", false, contentStart, rowEnd);
        if (end == npos || (nextCell != npos && nextCell < end)) end = nextCell == npos ? rowEnd : nextCell;
        cells.push_back({ParamsOf(text, cell, "td"), text.substr(contentStart, end - contentStart)});
        pos = end;
    }
}

}  // namespace

size_t FindOpeningTag(std::string_view text, std::string_view name, size_t from) {
    return FindTag(text, name, false, from);
}

TableSource ReadTable(std::string_view text, size_t start) {
    TableSource table;
    table.params = ParamsOf(text, start, "table");
    const size_t close = MatchingTableEnd(text, start);
    const size_t limit = close == npos ? text.size() : close;
    table.end = close == npos ? text.size() : TagEnd(text, close);
    size_t pos = TagEnd(text, start);
    while (true) {
        const size_t row = FindOutsideTables(text, "tr", false, pos, limit);
        if (row == npos) break;
        const size_t rowStart = TagEnd(text, row);
        size_t rowEnd = FindOutsideTables(text, "tr", true, rowStart, limit);
        const size_t nextRow = FindOutsideTables(text, "tr", false, rowStart, limit);
        if (rowEnd == npos || (nextRow != npos && nextRow < rowEnd)) rowEnd = nextRow == npos ? limit : nextRow;
        table.rows.push_back({ParamsOf(text, row, "tr"), ReadCells(text, rowStart, rowEnd)});
        pos = rowEnd;
    }
    return table;
}

}  // namespace lumbra
