#include "toolkit/markup_pass.h"

#include <algorithm>

#include "toolkit/markup_table_geometry.h"

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

// Width of `text`, measured no further than needed to tell that it exceeds `limit`: a long
// text is measured in prefixes of doubling length.
int BoundedWidth(MarkupSurface& surface, std::string_view text, int limit) {
    for (size_t length = 64; length < text.size(); length *= 2) {
        const int width = surface.textWidth(text.substr(0, length));
        if (width > limit) return width;
    }
    return surface.textWidth(text);
}

// The longest prefix of `text` that fits in `room`, at least one character.
size_t FittingLength(MarkupSurface& surface, std::string_view text, int room) {
    size_t high = 2;
    while (high < text.size() && surface.textWidth(text.substr(0, high)) <= room) high *= 2;
    high = std::min(high, text.size());
    size_t low = 1;
    while (low < high) {
        const size_t middle = (low + high + 1) / 2;
        if (surface.textWidth(text.substr(0, middle)) <= room) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
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
    effectPixelsLeft_ = table_geometry::kEffectPixelBudget;
    style_ = MarkupStyle{};
    stack_.clear();
    selectStyle();
    applyRule("body");
    selectStyle();
    const MarkupSource source = ReadMarkupSource(prepared);
    source_ = &source;
    const MarkupSize size = layoutBlock(source.body, area.left, area.top, area.width());
    source_ = nullptr;
    return size;
}

MarkupSize MarkupPass::layoutBlock(const BlockSource& source, int left, int top, int available) {
    Block block;
    block.left = block.x = left;
    block.y = top;
    block.available = available;
    Block* outer = block_;
    block_ = &block;
    for (const BlockSource::Part& part : source.parts) {
        if (part.table < 0) {
            layoutRun(part.run);
            continue;
        }
        const TableSource& table = source_->tables[static_cast<size_t>(part.table)];
        const MarkupSize size = layoutTable(table, left, block.y, available);
        block.y = AddExtent(block.y, size.height);
        block.widest = std::max(block.widest, size.width);
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
    const int width = AddExtent(line.width, ScaleExtent(b.available, line.rulePercent, 100));
    const int room = b.available - width;
    if (line.align == HorizontalAlign::Center) b.x = AddExtent(b.x, std::max(room / 2, 0));
    if (line.align == HorizontalAlign::Right) b.x = AddExtent(b.x, std::max(room, 0));
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
        const int lineHeight = AddExtent(line.ascent, line.descent);
        const int height = lineHeight > 0 ? lineHeight : metrics_.height;
        line.ascent = height;
        line.wrapped = wrapped;
        records_.lines.push_back(line);
        b.widest = std::max(b.widest, line.width);
        b.y = AddExtent(b.y, ScaleExtent(height, count, 1));
    } else {
        b.y = AddExtent(b.y, ScaleExtent(currentLine().ascent, count, 1));
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
        if (settings_.maxWidth <= 0) {
            emitPiece(rest);
            return;
        }
        const int startX = b.lineUsed ? b.x : b.left;
        const int room = AddExtent(b.left, settings_.maxWidth) - startX;
        bool fitsWhole = false;
        int width = -1;
        const size_t cut = breakAt(rest, room, &fitsWhole, &width);
        if (fitsWhole) {
            emitPiece(rest, width);
            return;
        }
        if (cut != std::string_view::npos) {
            const std::string_view head = TrimRight(rest.substr(0, cut));
            rest = TrimLeft(rest.substr(cut));
            if (head.empty() && !b.lineUsed) continue;
            if (!head.empty()) emitPiece(head, width);
        } else if (!b.lineUsed) {
            const size_t fit = FittingLength(surface_, rest, room);
            emitPiece(rest.substr(0, fit));
            rest = rest.substr(fit);
        }
        endLine(true, 1);
    }
}

// Where a run that may not fit in `room` breaks: just behind the last break character whose
// prefix (without trailing spaces) fits, or npos; the run's size when it fits whole
// (`fitsWhole`). The run is measured word by word from its start and only as far as the room
// reaches, so each character is measured about once; the `width` of the chosen piece is the
// sum of its words and spaces.
size_t MarkupPass::breakAt(std::string_view text, int room, bool* fitsWhole, int* width) {
    size_t cut = std::string_view::npos;
    long long sum = 0;         // width of the pieces so far
    long long sumTrimmed = 0;  // the same without the trailing spaces
    size_t pieceStart = 0;
    const int space = surface_.textWidth(" ");
    for (size_t i = 0; i < text.size() && sumTrimmed <= room; ++i) {
        const bool last = i + 1 == text.size();
        const bool breaks = kBreakCharacters.find(text[i]) != std::string_view::npos;
        if (!breaks && !last) continue;
        const bool isSpace = text[i] == ' ';
        const std::string_view word = text.substr(pieceStart, i + 1 - pieceStart - (isSpace ? 1 : 0));
        if (!word.empty()) {
            sum += BoundedWidth(surface_, word, static_cast<int>(std::max<long long>(room - sum, -1)));
            sumTrimmed = sum;
        }
        if (isSpace) sum += space;
        pieceStart = i + 1;
        if (breaks && sumTrimmed <= room) {
            cut = i + 1;
            *width = static_cast<int>(sumTrimmed);
        }
    }
    *fitsWhole = pieceStart == text.size() && sum <= room;
    if (!*fitsWhole) return cut;
    *width = static_cast<int>(sum);
    return text.size();
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
    const int before = ScaleExtent(b.justifyExtra, b.spacesDrawn, total);
    b.spacesDrawn = AddExtent(b.spacesDrawn, spaces);
    return ScaleExtent(b.justifyExtra, b.spacesDrawn, total) - before;
}

void MarkupPass::emitPiece(std::string_view piece, int knownWidth) {
    startLine();
    Block& b = *block_;
    const int width = knownWidth >= 0 ? knownWidth : surface_.textWidth(piece);
    const int spaces = CountSpaces(piece);
    if (!settings_.drawing) {
        b.x = AddExtent(b.x, width);
        widenLine(metrics_.ascent, metrics_.descent);
        b.line.spaces = AddExtent(b.line.spaces, spaces);
        return;
    }
    const int top = pieceTop(metrics_.ascent, metrics_.height);
    const std::optional<Rgb> background =
        style_.opaque ? std::optional<Rgb>(style_.backgroundColour) : std::nullopt;
    surface_.drawText(b.x, top, piece, style_.textColour, background);
    const int advance = AddExtent(width, justifyShare(spaces));
    if (style_.overline) {
        surface_.drawLine(b.x, top, AddExtent(b.x, advance), top, style_.textColour, style_.weight >= 700 ? 2 : 1);
    }
    addLink({b.x, top, AddExtent(b.x, advance), AddExtent(top, metrics_.height)});
    b.x = AddExtent(b.x, advance);
}

void MarkupPass::addLink(const MarkupRect& rect) {
    if (!settings_.drawing || style_.linkKind == LinkKind::None) return;
    records_.links.push_back({rect, style_.linkKind, style_.linkIndex, style_.linkTarget});
}

}  // namespace lumbra
