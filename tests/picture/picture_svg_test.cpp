// The SVG is a well-formed document whose cells have the colours of what lies in them, and
// whose texts carry the disk's names safely.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <map>
#include <memory>

#include "picture/picture_colours.h"
#include "picture/picture_legend.h"
#include "picture/picture_svg.h"
#include "picture_fixture.h"

namespace lumbra::test {
namespace {

using namespace picture_svg;

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

std::string Attr(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

struct ParsedSvg {
    std::map<std::pair<std::string, std::string>, std::string> gridFill;  // (x, y) -> fill
    std::vector<std::string> legendFills;
    std::vector<std::string> texts;
    std::vector<std::string> patterns;  // ids
};

void Collect(xmlNode* node, ParsedSvg& parsed) {
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        const std::string name = reinterpret_cast<const char*>(node->name);
        if (name == "rect" && Attr(node, "class") == "grid") parsed.gridFill[{Attr(node, "x"), Attr(node, "y")}] = Attr(node, "fill");
        if (name == "rect" && Attr(node, "class") == "legend") parsed.legendFills.push_back(Attr(node, "fill"));
        if (name == "pattern") parsed.patterns.push_back(Attr(node, "id"));
        if (name == "text") {
            xmlChar* content = xmlNodeGetContent(node);
            parsed.texts.emplace_back(reinterpret_cast<const char*>(content));
            xmlFree(content);
        }
        Collect(node->children, parsed);
    }
}

ParsedSvg Parse(const std::string& svg) {
    std::unique_ptr<xmlDoc, DocFree> doc(
        xmlReadMemory(svg.data(), static_cast<int>(svg.size()), "picture.svg", nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR));
    EXPECT_NE(doc, nullptr) << "not well-formed";
    ParsedSvg parsed;
    if (doc) Collect(xmlDocGetRootElement(doc.get()), parsed);
    return parsed;
}

std::pair<std::string, std::string> GridPlace(size_t cell) {
    return {std::to_string((cell % kGridColumns) * kGridCellSize), std::to_string(kGridTop + (cell / kGridColumns) * kGridCellSize)};
}

TEST(PictureSvg, GridCellsHaveTheColourOfWhatLiesThereAndDamageItsHatch) {
    VolumePlan volume{.name = "DATA"};
    for (int i = 0; i < 40; ++i) volume.addFile("F" + std::to_string(i), 0, 20000);
    PictureFixture fixture(BuildVolume(volume));
    const BuiltPool& built = fixture.mounted.builtPool();
    const uint64_t damagedSector = FileDiskSector(built, fixture.mounted.tree.files()[20], 7);
    DamageMap damage;
    damage.add(damagedSector, 1);
    fixture.facts.damage = &damage;
    const DiskPicture picture = LayDiskOut(fixture.facts);
    constexpr uint32_t kCells = 512;
    const ParsedSvg parsed = Parse(PictureSvg(picture, kCells, "demo"));

    const auto [first, end] = picture.selectedPoolArea();
    const auto cells = picture.cells(first, end, kCells);
    ASSERT_EQ(parsed.gridFill.size(), cells.size());
    EXPECT_EQ(parsed.gridFill.at(GridPlace(CellOf(cells, damagedSector))), "url(#damaged)");
    const size_t fileCell = CellOf(cells, FileDiskSector(built, fixture.mounted.tree.files()[30], 20));
    ASSERT_EQ(cells[fileCell].kinds, KindBit(PictureKind::FileData) | KindBit(PictureKind::Pool));
    EXPECT_EQ(parsed.gridFill.at(GridPlace(fileCell)), "#0072b2");
    EXPECT_EQ(parsed.gridFill.at(GridPlace(CellOf(cells, built.superblockSector))), "#cc79a7");
    EXPECT_EQ(parsed.gridFill.at(GridPlace(cells.size() - 1)), ColourText(PoolColour(0)));  // the free end

    // The legend names every colour the grid uses.
    for (const auto& [place, fill] : parsed.gridFill)
        EXPECT_NE(std::find(parsed.legendFills.begin(), parsed.legendFills.end(), fill), parsed.legendFills.end()) << fill;
    EXPECT_EQ(parsed.legendFills.size(), PictureLegend(picture).size());
}

TEST(PictureSvg, CellsNeverReadAreFilledWithTheCheckerOverTheColourBeneath) {
    DiskPicture picture(1000);
    picture.poolNames = {"P"};
    picture.add({0, 1000, PictureKind::Pool, 0});
    picture.add({100, 100, PictureKind::FileData, 0});
    picture.selectedPool = 0;
    ReadCoverage coverage;
    coverage.addRead(0, 150);
    coverage.addRead(500, 500);
    DamageMap damage;
    damage.add(300, 1);
    picture.setReads(&damage, &coverage);
    const ParsedSvg parsed = Parse(PictureSvg(picture, 10, "t"));
    const auto fill = [&](size_t cell) { return parsed.gridFill.at(GridPlace(cell)); };
    EXPECT_EQ(fill(0), ColourText(PoolColour(0)));                       // read
    EXPECT_EQ(fill(1), "url(#never-read-" + ColourText(KindColour(PictureKind::FileData)).substr(1) + ")");
    EXPECT_EQ(fill(2), "url(#never-read-" + ColourText(PoolColour(0)).substr(1) + ")");
    EXPECT_EQ(fill(3), "url(#damaged)");                                   // never read, but damaged
    EXPECT_EQ(fill(5), ColourText(PoolColour(0)));
    // Every checker used is defined, the legend's too.
    for (const char* id : {"never-read-0072b2", "never-read-88ccee", "never-read-aaaaaa", "damaged"})
        EXPECT_NE(std::find(parsed.patterns.begin(), parsed.patterns.end(), std::string(id)), parsed.patterns.end()) << id;
    EXPECT_NE(std::find(parsed.legendFills.begin(), parsed.legendFills.end(), "url(#never-read-aaaaaa)"), parsed.legendFills.end());
    EXPECT_NE(std::find_if(parsed.texts.begin(), parsed.texts.end(),
                           [](const std::string& text) { return text.starts_with("never read: 175.0 KiB (350 sectors)"); }),
              parsed.texts.end());
}

TEST(PictureSvg, PoolNamesWithMarkupAndControlCharactersStayText) {
    DiskPicture picture(1000);
    picture.poolNames = {"A<b>&\x01\"'", "C\xE9"};
    picture.add({10, 100, PictureKind::Pool, 0});
    picture.add({200, 100, PictureKind::Pool, 1});
    picture.selectedPool = 0;
    const ParsedSvg parsed = Parse(PictureSvg(picture, 16, "title"));
    EXPECT_NE(std::find_if(parsed.texts.begin(), parsed.texts.end(),
                           [](const std::string& text) { return text.starts_with("pool A<b>&\xEF\xBF\xBD\"', nothing known:"); }),
              parsed.texts.end());
    EXPECT_NE(std::find_if(parsed.texts.begin(), parsed.texts.end(),
                           [](const std::string& text) { return text.starts_with("pool C\xC3\xA9:"); }),
              parsed.texts.end());
}

// The title holds a drive's path as the file system gives it: the document stays well-formed
// UTF-8 whatever its bytes.
TEST(PictureSvg, TitleBytesOfAnyKindStayWellFormedText) {
    const std::pair<std::string, std::string> cases[] = {
        {"Disk /img/a<b>&c.img", "Disk /img/a<b>&c.img"},
        {"Disk /img/d\xC3\xA9mo.img", "Disk /img/d\xC3\xA9mo.img"},  // UTF-8 stays
        {"Disk /img/d\xE9mo.img", "Disk /img/d\\xE9mo.img"},          // Latin-1: not UTF-8
        {"Disk /img/a\x01\x1F\x7F.img", "Disk /img/a\\x01\\x1F\\x7F.img"},
        {"Disk /img/\xE2\x82", "Disk /img/\\xE2\\x82"},            // cut short
    };
    DiskPicture picture(1000);
    picture.add({10, 100, PictureKind::Pool, 0});
    picture.poolNames = {"P"};
    for (const auto& [title, shown] : cases) {
        const ParsedSvg parsed = Parse(PictureSvg(picture, 16, title));
        ASSERT_FALSE(parsed.texts.empty()) << shown;
        EXPECT_EQ(parsed.texts.at(0), shown);
    }
}

}  // namespace
}  // namespace lumbra::test
