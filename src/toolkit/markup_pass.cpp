#include "toolkit/markup_pass.h"

#include <algorithm>

namespace lumbra {

namespace {

constexpr std::string_view kBreakCharacters = " -.,!:;)}]?";

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
}

int CountSpaces(std::string_view text) {
    return static_cast<int>(std::count(text.begin(), text.end(), ' '));
}

}  // namespace

MarkupPass::MarkupPass(MarkupSurface& surface, LayoutRecords& records, const StyleSheet& sheet,
                       const ColourTable& colours, const PassSettings& settings)
    : surface_(surface), records_(records), sheet_(sheet), colours_(colours), settings_(settings) {}

MarkupSize MarkupPass::run(std::string_view prepared, const MarkupRect& area) {
    if (!settings_.drawing) records_ = LayoutRecords{};
    records_.links.clear();
    style_ = MarkupStyle{};
    stack_.clear();
    selectStyle();
    applyRule("body");
    selectStyle();
    return layoutBlock(prepared, area.left, area.top, area.width());
}

MarkupSize MarkupPass::layoutBlock(std::string_view text, int left, int top, int available) {
    Block block;
    block.left = block.x = left;
    block.y = top;
    block.available = available;
    Block* outer = block_;
    block_ = &block;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t table = FindOpeningTag(text, "table", pos);
        const size_t runEnd = table == std::string_view::npos ? text.size() : table;
        if (runEnd > pos) layoutRun(text.substr(pos, runEnd - pos));
        if (table == std::string_view::npos) break;
        const TableSource source = ReadTable(text, table);
        const MarkupSize size = layoutTable(source, left, block.y, available);
        block.y += size.height;
        block.widest = std::max(block.widest, size.width);
        pos = std::max(source.end, table + 1);
    }
    block_ = outer;
    return {block.widest, block.y - top};
}

void MarkupPass::layoutRun(std::string_view run) {
    const std::string wrapped = "<body>" + std::string(run) + "</body>";
    MarkupTokenizer tokenizer(wrapped);
    while (auto token = tokenizer.next()) {
        if (token->kind == MarkupToken::Kind::Text) {
            placeText(std::move(token->text));
        } else {
            handleTag(*token);
        }
    }
    if (block_->lineUsed) endLine(false, 1);
}

const LineMetrics& MarkupPass::currentLine() const {
    static const LineMetrics kEmpty;
    return lineCursor_ < records_.lines.size() ? records_.lines[lineCursor_] : kEmpty;
}

// A line starts with its first piece, so that an alignment tag in front of the text counts.
void MarkupPass::startLine() {
    Block& b = *block_;
    if (b.lineUsed) return;
    b.lineUsed = true;
    b.x = b.left;
    b.spacesDrawn = 0;
    b.justifyExtra = 0;
    if (!settings_.drawing) {
        b.line = LineMetrics{};
        b.line.align = style_.horizontalAlign;
        return;
    }
    const LineMetrics& line = currentLine();
    const int width = line.width + line.rulePercent * b.available / 100;
    const int room = b.available - width;
    if (line.align == HorizontalAlign::Center) b.x += std::max(room / 2, 0);
    if (line.align == HorizontalAlign::Right) b.x += std::max(room, 0);
    if (line.align == HorizontalAlign::Justify && line.wrapped && line.spaces > 0 && room > 0) {
        b.justifyExtra = room;
        surface_.setJustification(room, line.spaces);
    }
}

void MarkupPass::endLine(bool wrapped, int count) {
    Block& b = *block_;
    if (!settings_.drawing) {
        LineMetrics line = b.lineUsed ? b.line : LineMetrics{};
        if (!b.lineUsed) line.align = style_.horizontalAlign;
        const int height = line.ascent + line.descent > 0 ? line.ascent + line.descent : metrics_.height;
        line.ascent = height;
        line.wrapped = wrapped;
        records_.lines.push_back(line);
        b.widest = std::max(b.widest, line.width);
        b.y += count * height;
    } else {
        b.y += count * currentLine().ascent;
        ++lineCursor_;
        if (b.justifyExtra != 0) surface_.setJustification(0, 0);
    }
    b.lineUsed = false;
    b.justifyExtra = 0;
    b.x = b.left;
}

void MarkupPass::placeText(std::string text) {
    text = TransformText(text, style_.transform);
    std::string_view rest(text);
    while (!rest.empty()) {
        Block& b = *block_;
        const int startX = b.lineUsed ? b.x : b.left;
        const int room = b.left + settings_.maxWidth - startX;
        if (settings_.maxWidth <= 0 || surface_.textWidth(rest) <= room) {
            emitPiece(rest);
            return;
        }
        size_t cut = std::string_view::npos;
        for (size_t i = rest.size(); i-- > 0;) {
            if (kBreakCharacters.find(rest[i]) == std::string_view::npos) continue;
            if (surface_.textWidth(TrimRight(rest.substr(0, i + 1))) <= room) {
                cut = i + 1;
                break;
            }
        }
        if (cut != std::string_view::npos) {
            const std::string_view head = TrimRight(rest.substr(0, cut));
            rest = TrimLeft(rest.substr(cut));
            if (head.empty() && !b.lineUsed) continue;
            if (!head.empty()) emitPiece(head);
        } else if (!b.lineUsed) {
            size_t fit = 1;
            while (fit < rest.size() && surface_.textWidth(rest.substr(0, fit + 1)) <= room) ++fit;
            emitPiece(rest.substr(0, fit));
            rest = rest.substr(fit);
        }
        endLine(true, 1);
    }
}

void MarkupPass::widenLine(int ascent, int descent) {
    Block& b = *block_;
    b.line.width = std::max(b.line.width, b.x - b.left);
    b.line.ascent = std::max(b.line.ascent, ascent);
    b.line.descent = std::max(b.line.descent, descent);
}

int MarkupPass::pieceTop(int ascent, int height) const {
    const LineMetrics& line = currentLine();
    const int y = block_->y;
    switch (style_.verticalAlign) {
    case VerticalAlign::Top:
        return y;
    case VerticalAlign::Middle:
        return y + (line.ascent - height) / 2;
    case VerticalAlign::Bottom:
        return y + line.ascent - ascent;
    case VerticalAlign::Baseline:
        break;
    }
    return y + line.ascent - line.descent - ascent;
}

// The share of the justification extra that the next `spaces` spaces take.
int MarkupPass::justifyShare(int spaces) {
    Block& b = *block_;
    if (b.justifyExtra == 0 || spaces == 0) return 0;
    const int total = std::max(currentLine().spaces, 1);
    const int before = b.justifyExtra * b.spacesDrawn / total;
    b.spacesDrawn += spaces;
    return b.justifyExtra * b.spacesDrawn / total - before;
}

void MarkupPass::emitPiece(std::string_view piece) {
    startLine();
    Block& b = *block_;
    const int width = surface_.textWidth(piece);
    const int spaces = CountSpaces(piece);
    if (!settings_.drawing) {
        b.x += width;
        widenLine(metrics_.ascent, metrics_.descent);
        b.line.spaces += spaces;
        return;
    }
    const int top = pieceTop(metrics_.ascent, metrics_.height);
    const std::optional<Rgb> background =
        style_.opaque ? std::optional<Rgb>(style_.backgroundColour) : std::nullopt;
    surface_.drawText(b.x, top, piece, style_.textColour, background);
    const int advance = width + justifyShare(spaces);
    if (style_.overline) {
        surface_.drawLine(b.x, top, b.x + advance, top, style_.textColour, style_.weight >= 700 ? 2 : 1);
    }
    addLink({b.x, top, b.x + advance, top + metrics_.height});
    b.x += advance;
}

void MarkupPass::addLink(const MarkupRect& rect) {
    if (!settings_.drawing || style_.linkKind == LinkKind::None) return;
    records_.links.push_back({rect, style_.linkKind, style_.linkIndex, style_.linkTarget});
}

}  // namespace lumbra
