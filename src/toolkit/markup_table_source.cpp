#include "toolkit/markup_table_source.h"

#include <algorithm>

namespace lumbra {

namespace {

constexpr size_t npos = std::string_view::npos;

enum class Tag { None, OpenTable, CloseTable, OpenRow, CloseRow, OpenCell, CloseCell };

// "<name" followed by " " or ">" (opening), or "</name>" (closing), at `pos`.
bool IsTag(std::string_view text, size_t pos, std::string_view name, bool closing) {
    size_t at = pos + 1;
    if (closing) {
        if (at >= text.size() || text[at] != '/') return false;
        ++at;
    }
    if (text.compare(at, name.size(), name) != 0 || at + name.size() >= text.size()) return false;
    const char next = text[at + name.size()];
    return next == '>' || (!closing && next == ' ');
}

Tag TagAt(std::string_view text, size_t pos) {
    if (IsTag(text, pos, "table", false)) return Tag::OpenTable;
    if (IsTag(text, pos, "table", true)) return Tag::CloseTable;
    if (IsTag(text, pos, "tr", false)) return Tag::OpenRow;
    if (IsTag(text, pos, "tr", true)) return Tag::CloseRow;
    if (IsTag(text, pos, "td", false)) return Tag::OpenCell;
    if (IsTag(text, pos, "td", true)) return Tag::CloseCell;
    return Tag::None;
}

size_t TagEnd(std::string_view text, size_t tagStart) {
    const size_t gt = text.find('>', tagStart);
    return gt == npos ? text.size() : gt + 1;
}

std::string ParamsOf(std::string_view text, size_t tagStart, size_t tagEnd, std::string_view name) {
    const size_t from = std::min(tagStart + 1 + name.size(), tagEnd);
    std::string_view params = text.substr(from, tagEnd - from);
    if (!params.empty() && params.back() == '>') params.remove_suffix(1);
    while (!params.empty() && params.front() == ' ') params.remove_prefix(1);
    return std::string(params);
}

// Walks the text once, keeping the open tables on a stack; text goes to the innermost block
// that is open (the body or a cell).
class SourceReader {
public:
    explicit SourceReader(std::string_view text) : text_(text) {}

    MarkupSource read() {
        size_t pos = 0;
        while ((pos = text_.find('<', pos)) != npos) {
            if (pos + 1 < text_.size() && text_[pos + 1] == '<') {
                pos += 2;
                continue;
            }
            const Tag tag = TagAt(text_, pos);
            if (!takes(tag)) {
                ++pos;
                continue;
            }
            const size_t end = TagEnd(text_, pos);
            handle(tag, pos, end);
            pos = end;
        }
        while (!open_.empty()) {
            closeCell(text_.size());
            open_.pop_back();
            runStart_ = text_.size();
        }
        flushRun(text_.size());
        return std::move(source_);
    }

private:
    struct Open {
        size_t table = 0;
        bool inRow = false;
        bool inCell = false;
    };

    // Whether a tag shapes a table here; tags that do not stay in the text.
    bool takes(Tag tag) {
        if (tag == Tag::None) return false;
        if (ignored_ > 0) {
            if (tag == Tag::OpenTable) ++ignored_;
            if (tag == Tag::CloseTable) --ignored_;
            return false;
        }
        if (tag == Tag::OpenTable) {
            if (open_.size() < static_cast<size_t>(kMaxTableDepth)) return true;
            ignored_ = 1;
            return false;
        }
        if (open_.empty()) return false;
        const Open& top = open_.back();
        if (tag == Tag::OpenCell || tag == Tag::CloseRow) return top.inRow;
        if (tag == Tag::CloseCell) return top.inCell;
        return true;
    }

    void handle(Tag tag, size_t pos, size_t end) {
        switch (tag) {
        case Tag::OpenTable: {
            flushRun(pos);
            const size_t index = source_.tables.size();
            if (BlockSource* block = currentBlock()) block->parts.push_back({{}, static_cast<int>(index)});
            source_.tables.push_back({ParamsOf(text_, pos, end, "table"), {}});
            open_.push_back({index});
            break;
        }
        case Tag::CloseTable:
            closeCell(pos);
            open_.pop_back();
            runStart_ = end;
            break;
        case Tag::OpenRow:
            closeCell(pos);
            table().rows.push_back({ParamsOf(text_, pos, end, "tr"), {}});
            open_.back().inRow = true;
            break;
        case Tag::CloseRow:
            closeCell(pos);
            open_.back().inRow = false;
            break;
        case Tag::OpenCell:
            closeCell(pos);
            table().rows.back().cells.push_back({ParamsOf(text_, pos, end, "td"), {}});
            open_.back().inCell = true;
            runStart_ = end;
            break;
        case Tag::CloseCell:
            closeCell(pos);
            break;
        case Tag::None:
            break;
        }
    }

    TableSource& table() { return source_.tables[open_.back().table]; }

    // The block that text belongs to now: the body, the open cell, or none (a table outside
    // its cells).
    BlockSource* currentBlock() {
        if (open_.empty()) return &source_.body;
        if (!open_.back().inCell) return nullptr;
        return &table().rows.back().cells.back().content;
    }

    void flushRun(size_t upTo) {
        BlockSource* block = currentBlock();
        if (block && upTo > runStart_) block->parts.push_back({text_.substr(runStart_, upTo - runStart_), -1});
        runStart_ = upTo;
    }

    void closeCell(size_t at) {
        if (open_.empty() || !open_.back().inCell) return;
        flushRun(at);
        open_.back().inCell = false;
    }

    std::string_view text_;
    MarkupSource source_;
    std::vector<Open> open_;
    size_t runStart_ = 0;
    int ignored_ = 0;  // tables opened beyond the depth limit and not yet closed
};

}  // namespace

MarkupSource ReadMarkupSource(std::string_view text) { return SourceReader(text).read(); }

}  // namespace lumbra
