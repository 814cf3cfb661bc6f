#include "picture/picture_svg.h"

#include <libxml/xmlwriter.h>

#include <memory>
#include <set>

#include "picture/disk_name_text.h"
#include "picture/picture_colours.h"
#include "picture/picture_legend.h"
#include "recovery/report_text.h"

namespace lumbra {
namespace {

using namespace picture_svg;

struct WriterFree {
    void operator()(xmlTextWriter* writer) const { xmlFreeTextWriter(writer); }
};
struct BufferFree {
    void operator()(xmlBuffer* buffer) const { xmlBufferFree(buffer); }
};

const xmlChar* X(const char* text) { return reinterpret_cast<const xmlChar*>(text); }
const xmlChar* X(const std::string& text) { return X(text.c_str()); }

void Attribute(xmlTextWriter* w, const char* name, const std::string& value) {
    xmlTextWriterWriteAttribute(w, X(name), X(value));
}
void Attribute(xmlTextWriter* w, const char* name, uint64_t value) { Attribute(w, name, std::to_string(value)); }

void Text(xmlTextWriter* w, uint32_t x, uint32_t y, const std::string& text) {
    xmlTextWriterStartElement(w, X("text"));
    Attribute(w, "x", x);
    Attribute(w, "y", y);
    Attribute(w, "font-family", "sans-serif");
    Attribute(w, "font-size", "13");
    xmlTextWriterWriteString(w, X(text));
    xmlTextWriterEndElement(w);
}

// The checker over sectors never read has one pattern per colour it fades.
std::string FadedId(uint32_t colour) { return "never-read-" + ColourText(colour).substr(1); }

std::string Fill(uint32_t colour, bool hatched, bool faded) {
    if (hatched) return "url(#damaged)";
    return faded ? "url(#" + FadedId(colour) + ")" : ColourText(colour);
}

void Square(xmlTextWriter* w, uint32_t x, uint32_t y, uint32_t size, uint32_t colour) {
    xmlTextWriterStartElement(w, X("rect"));
    Attribute(w, "x", x);
    Attribute(w, "y", y);
    Attribute(w, "width", size);
    Attribute(w, "height", size);
    Attribute(w, "fill", ColourText(colour));
    xmlTextWriterEndElement(w);
}

void FadedPattern(xmlTextWriter* w, uint32_t colour) {
    xmlTextWriterStartElement(w, X("pattern"));
    Attribute(w, "id", FadedId(colour));
    Attribute(w, "width", 4);
    Attribute(w, "height", 4);
    Attribute(w, "patternUnits", "userSpaceOnUse");
    Square(w, 0, 0, 4, colour);
    Square(w, 0, 0, 2, kFadeColour);
    Square(w, 2, 2, 2, kFadeColour);
    xmlTextWriterEndElement(w);
}

void Patterns(xmlTextWriter* w, const std::set<uint32_t>& faded) {
    xmlTextWriterStartElement(w, X("defs"));
    for (uint32_t colour : faded) FadedPattern(w, colour);
    xmlTextWriterStartElement(w, X("pattern"));
    Attribute(w, "id", "damaged");
    Attribute(w, "width", 6);
    Attribute(w, "height", 6);
    Attribute(w, "patternUnits", "userSpaceOnUse");
    Attribute(w, "patternTransform", "rotate(45)");
    xmlTextWriterStartElement(w, X("rect"));
    Attribute(w, "width", 6);
    Attribute(w, "height", 6);
    Attribute(w, "fill", ColourText(KindColour(PictureKind::Damaged)));
    xmlTextWriterEndElement(w);
    xmlTextWriterStartElement(w, X("rect"));
    Attribute(w, "width", 2);
    Attribute(w, "height", 6);
    Attribute(w, "fill", ColourText(kHatchColour));
    xmlTextWriterEndElement(w);
    xmlTextWriterEndElement(w);
    xmlTextWriterEndElement(w);
}

std::string CellTitle(const DiskPicture& picture, const PictureCell& cell) {
    std::string title = "sectors " + std::to_string(cell.first) + "-" + std::to_string(cell.first + cell.count - 1) + ": ";
    bool first = true;
    for (auto kind = kAllPictureKinds.rbegin(); kind != kAllPictureKinds.rend(); ++kind) {
        if ((cell.kinds & KindBit(*kind)) == 0) continue;
        title += first ? "" : ", ";
        first = false;
        if (*kind == PictureKind::Pool && cell.pool < picture.poolNames.size())
            title += "pool " + DiskNameText(picture.poolNames[cell.pool]);
        else
            title += std::string(PictureKindName(*kind));
    }
    return first ? title + std::string(PictureKindName(PictureKind::Nothing)) : title;
}

void Cell(xmlTextWriter* w, const DiskPicture& picture, const PictureCell& cell, const char* group, uint32_t x,
          uint32_t y, uint32_t width, uint32_t height) {
    xmlTextWriterStartElement(w, X("rect"));
    Attribute(w, "class", group);
    Attribute(w, "x", x);
    Attribute(w, "y", y);
    Attribute(w, "width", width);
    Attribute(w, "height", height);
    Attribute(w, "fill", Fill(CellColour(cell), cell.dominant == PictureKind::Damaged, cell.dominant == PictureKind::NeverRead));
    xmlTextWriterStartElement(w, X("title"));
    xmlTextWriterWriteString(w, X(CellTitle(picture, cell)));
    xmlTextWriterEndElement(w);
    xmlTextWriterEndElement(w);
}

}  // namespace

std::string PictureSvg(const DiskPicture& picture, uint32_t gridCells, const std::string& title) {
    std::unique_ptr<xmlBuffer, BufferFree> buffer(xmlBufferCreate());
    std::unique_ptr<xmlTextWriter, WriterFree> writer(xmlNewTextWriterMemory(buffer.get(), 0));
    xmlTextWriter* w = writer.get();
    const auto bar = picture.cells(0, picture.diskSectors(), kBarCells);
    const bool poolSelected = picture.selectedPool != PictureCell::kNoPool;
    const auto [poolFirst, poolEnd] = picture.selectedPoolArea();
    const auto grid = poolSelected ? picture.cells(poolFirst, poolEnd, std::max(gridCells, 1u)) : std::vector<PictureCell>();
    const uint32_t gridRows = static_cast<uint32_t>((grid.size() + kGridColumns - 1) / kGridColumns);
    const auto legend = PictureLegend(picture);
    const uint32_t legendTop = (poolSelected ? kGridTop + gridRows * kGridCellSize : kBarTop + kBarHeight) + 16;
    const uint32_t height = legendTop + static_cast<uint32_t>(legend.size()) * kLegendLine + 8;

    xmlTextWriterStartDocument(w, nullptr, "UTF-8", nullptr);
    xmlTextWriterStartElement(w, X("svg"));
    Attribute(w, "xmlns", "http://www.w3.org/2000/svg");
    Attribute(w, "width", kWidth);
    Attribute(w, "height", height);
    std::set<uint32_t> faded;
    for (const auto* cells : {&bar, &grid})
        for (const PictureCell& cell : *cells)
            if (cell.dominant == PictureKind::NeverRead) faded.insert(CellColour(cell));
    for (const LegendEntry& entry : legend)
        if (entry.faded) faded.insert(entry.colour);
    Patterns(w, faded);
    Text(w, 0, kBarTop - 8, FileSystemText(title));
    const uint32_t barCellWidth = kWidth / kBarCells;
    for (size_t i = 0; i < bar.size(); ++i)
        Cell(w, picture, bar[i], "bar", static_cast<uint32_t>(i) * barCellWidth, kBarTop, barCellWidth, kBarHeight);
    if (poolSelected) {
        Text(w, 0, kGridTop - 8,
             "pool " + DiskNameText(picture.poolNames[picture.selectedPool]) + ": sectors " + std::to_string(poolFirst) +
                 "-" + std::to_string(poolEnd - 1) + " in " + std::to_string(grid.size()) + " cells");
        for (size_t i = 0; i < grid.size(); ++i) {
            const uint32_t column = static_cast<uint32_t>(i % kGridColumns);
            const uint32_t row = static_cast<uint32_t>(i / kGridColumns);
            Cell(w, picture, grid[i], "grid", column * kGridCellSize, kGridTop + row * kGridCellSize, kGridCellSize,
                 kGridCellSize);
        }
    }
    for (size_t i = 0; i < legend.size(); ++i) {
        const uint32_t y = legendTop + static_cast<uint32_t>(i) * kLegendLine;
        xmlTextWriterStartElement(w, X("rect"));
        Attribute(w, "class", "legend");
        Attribute(w, "x", 0);
        Attribute(w, "y", y);
        Attribute(w, "width", 14);
        Attribute(w, "height", 14);
        Attribute(w, "stroke", "#000000");
        Attribute(w, "fill", Fill(legend[i].colour, legend[i].hatched, legend[i].faded));
        xmlTextWriterEndElement(w);
        Text(w, 22, y + 12, legend[i].name + ": " + SizeText(legend[i].sectors) + " (" +
                                std::to_string(legend[i].sectors) + " sectors)");
    }
    xmlTextWriterEndElement(w);
    xmlTextWriterEndDocument(w);
    writer.reset();
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                       static_cast<size_t>(xmlBufferLength(buffer.get())));
}

}  // namespace lumbra
