#pragma once
// One pass over prepared markup: the measuring pass lays out lines and tables and records
// them; the drawing pass repeats the layout from the records and paints.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/markup_colour.h"
#include "toolkit/markup_records.h"
#include "toolkit/markup_size.h"
#include "toolkit/markup_style_sheet.h"
#include "toolkit/markup_surface.h"
#include "toolkit/markup_table_source.h"
#include "toolkit/markup_tags.h"
#include "toolkit/markup_tokenizer.h"

namespace lumbra {

struct PassSettings {
    bool drawing = false;
    int maxWidth = 0;  // 0: lines break only where the markup breaks them
    int tabSize = 32;
    int hoverLink = -2;
    ImageShadow shadow;
};

class MarkupPass {
public:
    MarkupPass(MarkupSurface& surface, LayoutRecords& records, const StyleSheet& sheet,
               const ColourTable& colours, const PassSettings& settings);
    // Lays the whole text out with its top-left corner at `area`'s; returns its size.
    MarkupSize run(std::string_view prepared, const MarkupRect& area);

private:
    struct Block {
        int left = 0;
        int available = 0;
        int x = 0;
        int y = 0;
        int widest = 0;
        bool lineUsed = false;
        LineMetrics line;   // measuring: the line being laid out
        int justifyExtra = 0;
        int spacesDrawn = 0;
    };

    MarkupSize layoutBlock(const BlockSource& source, int left, int top, int available);
    void layoutRun(std::string_view run);

    // lines
    const LineMetrics& currentLine() const;
    void startLine();
    void endLine(bool wrapped, int count);
    void placeText(std::string text);
    size_t breakAt(std::string_view text, int room, bool* fitsWhole, int* width);
    // Places a piece of text; `knownWidth` is its width when already measured, else -1.
    void emitPiece(std::string_view piece, int knownWidth = -1);
    int pieceTop(int ascent, int height) const;
    int justifyShare(int spaces);
    void widenLine(int ascent, int descent);

    // tags
    void handleTag(const MarkupToken& token);
    void applyTagEffect(const MarkupTagInfo& info, const MarkupToken& token);
    void applyFontAttributes(const MarkupAttributes& attributes);
    void applyLink(const MarkupAttributes& attributes);
    void applyRule(std::string_view selector);
    void selectStyle();
    SizeContext sizeContext();
    void placeObject(MarkupTag tag, const std::string& params);
    void placeTab(int count);
    void placeRule(const MarkupAttributes& attributes);
    void placeImage(MarkupTag tag, const MarkupAttributes& attributes);
    void drawImage(PixelBuffer picture, const std::string& letters, int width, int height);
    void addLink(const MarkupRect& rect);

    // tables
    MarkupSize layoutTable(const TableSource& table, int left, int top, int available);
    void applyCellAttributes(const std::string& params, int* rowSpan, int* columnSpan);
    TableMetrics measureTable(const TableSource& table);
    void drawTable(const TableSource& table, TableMetrics metrics, int left, int top, int available);
    MarkupSize layoutCell(const BlockSource& content, int left, int top, int available);
    void drawBackground(const MarkupStyle& style, const MarkupRect& rect);
    void drawBorder(const MarkupStyle& style, const MarkupRect& rect, int width);

    MarkupSurface& surface_;
    LayoutRecords& records_;
    const StyleSheet& sheet_;
    const ColourTable& colours_;
    PassSettings settings_;
    MarkupStyle style_;
    std::vector<MarkupStyle> stack_;
    FontMetrics metrics_;
    const MarkupSource* source_ = nullptr;
    Block* block_ = nullptr;
    size_t lineCursor_ = 0;
    size_t tableCursor_ = 0;
    size_t animationCursor_ = 0;
    int linkCounter_ = -1;
    int64_t effectPixelsLeft_ = 0;  // full-size background pixels the run may still render
};

}  // namespace lumbra
