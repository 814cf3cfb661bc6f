#include <gtest/gtest.h>

#include <cmath>

#include "app/item_properties.h"
#include "app/recovery_message.h"
#include "app/row_colour.h"
#include "disk/sector.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

// readme.txt's second sector was never rescued.
TEST_F(WizardTest, AFileOnUnrescuedSectorsStandsOutInTheListAndItsPropertiesSaySo) {
    const NssImage image = StandardImage();
    StartWithUnrescued(image, FileSector(image, "readme.txt", 1), kSectorSize);
    ToBrowse();

    const int readme = RowNamed("readme.txt");
    ASSERT_GE(readme, 0);
    for (size_t row = 0; row < view.rows.size(); ++row) {
        const ItemRow& shown = view.rows[row];
        EXPECT_EQ(shown.damaged, static_cast<int>(row) == readme) << shown.name;
        EXPECT_EQ(ListRowColour(shown.type, shown.damaged) == kDamagedRowColour, static_cast<int>(row) == readme);
    }
    MarkRow("readme.txt");
    wizard->OnCommand(Command::Properties);
    ASSERT_FALSE(view.properties.empty());
    EXPECT_EQ(view.properties.back().rows.back().value, "damaged: 512 bytes unreadable");
    EXPECT_EQ(view.properties.back().rows.back().caption, std::string(properties_text::kCondition));
    // Where the file lies, and which of its bytes are zeros in a copy.
    const auto& rows = view.properties.back().rows;
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[5].caption, std::string(properties_text::kFirstSector));
    EXPECT_EQ(rows[5].value, std::to_string(FileSector(image, "readme.txt", 0)));
    EXPECT_EQ(rows[6].caption, std::string(properties_text::kUnreadable));
    EXPECT_EQ(rows[6].value, "512-1023");
    MarkRow("empty.txt");
    wizard->OnCommand(Command::Properties);
    EXPECT_EQ(view.properties.back().rows.back().value, "intact");
    EXPECT_EQ(view.properties.back().rows.size(), 6u) << "no data, no place on the disk";
}

// The volume's first leaf block was never rescued: the mount ends with a message that says
// so, and a mount over an intact disk ends without one.
TEST_F(WizardTest, AMountOverUnreadableTreeNodesEndsWithAMessage) {
    const NssImage image = StandardImage();
    const BuiltPool& pool = image.pools().at(0);
    const uint64_t leaf = *pool.toDiskSector(pool.volumes.at(0).leafBlocks.at(0) * kSectorsPerBlock);
    StartWithUnrescued(image, leaf, kBlockSize);
    ToBrowse();
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back().kind, MessageKind::Warning);
    EXPECT_EQ(view.messages.back().text, "8 metadata sector(s) could not be read (first: sector " + std::to_string(leaf) +
                                             "); some folders or files may be missing; try Pool Based recovery");
}

TEST_F(WizardTest, AMountOverAnIntactDiskShowsNoMessage) {
    StartStandard();
    ToBrowse();
    EXPECT_TRUE(view.messages.empty());
}

// WCAG's relative luminance of an sRGB colour.
double Luminance(const RowColour& colour) {
    auto channel = [](uint8_t value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red) + 0.7152 * channel(colour.green) + 0.0722 * channel(colour.blue);
}

// Small text needs 4.5:1 at least; smoothed edges lose some, so the colour keeps a margin.
TEST(RowColours, DamagedTextIsReadableOnWhiteWithAMargin) {
    const double contrast = 1.05 / (Luminance(kDamagedRowColour) + 0.05);
    EXPECT_GE(contrast, 6.0);
    EXPECT_NE(kDamagedRowColour, kCompressedRowColour);
    EXPECT_NE(kDamagedRowColour, kDeletedRowColour);
}

// Report.doc's first sector was never rescued: Documents holds damage, Pictures does not.
TEST_F(WizardTest, AFolderHoldingADamagedFileIsMarked) {
    const NssImage image = StandardImage();
    StartWithUnrescued(image, FileSector(image, "Report.doc", 0), kSectorSize);
    ToBrowse();
    ASSERT_GE(RowNamed("Documents"), 0);
    EXPECT_TRUE(view.rows[static_cast<size_t>(RowNamed("Documents"))].damaged);
    EXPECT_FALSE(view.rows[static_cast<size_t>(RowNamed("Pictures"))].damaged);
    EXPECT_FALSE(view.rows[static_cast<size_t>(RowNamed("readme.txt"))].damaged);
}

TEST_F(WizardTest, WithoutDamageNoFolderIsMarked) {
    StartStandard();
    ToBrowse();
    for (const ItemRow& row : view.rows) EXPECT_FALSE(row.damaged) << row.name;
    for (const auto& [id, item] : view.tree(TreeKind::Directory).items) EXPECT_FALSE(item.damaged) << item.text;
}

// Outer/Inner/broken.bin lost its second sector: in the tree, as in the list, Inner and Outer
// carry the mark, their intact neighbours do not.
TEST_F(WizardTest, ADamagedFileMarksItsFolderAndEveryFolderAboveInTheTree) {
    VolumePlan volume{.name = "DATA"};
    const uint64_t outer = volume.addFolder("Outer");
    const uint64_t inner = volume.addFolder("Inner", outer);
    const uint64_t beside = volume.addFolder("Beside", outer);
    const uint64_t other = volume.addFolder("Other");
    volume.addFile("broken.bin", inner, 9000);
    volume.addFile("fine.txt", outer, 700);
    volume.addFile("ok.txt", beside, 700);
    volume.addFile("ok2.txt", other, 700);
    const NssImage image =
        NssImageBuilder().pool({.name = "POOL1", .segments = {{.headerSector = 2048}}, .volumes = {volume}}).build();
    StartWithUnrescued(image, FileSector(image, "broken.bin", 1), kSectorSize);
    ToBrowse();
    const FakeTree& tree = view.tree(TreeKind::Directory);
    auto marked = [&](const std::string& name) {
        const uint32_t item = view.findTreeItem(TreeKind::Directory, name);
        EXPECT_NE(item, 0u) << name;
        return item != 0 && tree.items.at(item).damaged;
    };
    EXPECT_TRUE(marked("Outer"));
    EXPECT_TRUE(marked("Inner"));
    EXPECT_FALSE(marked("Beside"));
    EXPECT_FALSE(marked("Other"));
    EXPECT_FALSE(tree.items.at(tree.root).damaged);
    EXPECT_TRUE(view.rows.at(static_cast<size_t>(RowNamed("Outer"))).damaged);
    EXPECT_FALSE(view.rows.at(static_cast<size_t>(RowNamed("Other"))).damaged);
    ClickTree(TreeKind::Directory, "Outer");
    EXPECT_TRUE(view.rows.at(static_cast<size_t>(RowNamed("Inner"))).damaged);
    EXPECT_FALSE(view.rows.at(static_cast<size_t>(RowNamed("Beside"))).damaged);
}

TEST(ItemPropertiesRules, UnreadableRangesShowTheFirstAndCountTheRest) {
    EXPECT_EQ(UnreadableRangesText({}), "");
    EXPECT_EQ(UnreadableRangesText({{0, 1}}), "0-0");
    EXPECT_EQ(UnreadableRangesText({{4096, 512}, {9000, 10}}), "4096-4607 and 1 more");
    EXPECT_EQ(UnreadableRangesText({{1, 2}, {5, 1}, {9, 1}}), "1-2 and 2 more");
}

TEST(RecoveryMessage, CountsEveryOutcomeAndShowsPathsAsLiteralText) {
    RecoveryRunResult run;
    run.summary.saved = 7;
    run.summary.skipped = 2;
    run.summary.failed = 1;
    run.damaged = 3;
    run.cutShort = 1;
    run.report = ReportPaths{"/out/<b>x&lt;/lumbra-report.xml", "/out/<b>x&lt;/lumbra-report.csv"};
    EXPECT_EQ(RecoveryRunMessage(run, "/out/<b>x&lt;"),
              "Recovery finished.\n7 file(s) saved, 2 skipped, 1 failed.\n"
              "1 file(s) cut short, 3 file(s) damaged (unreadable parts are zeros).\n"
              "Destination: /out/&lt;b>x&amp;lt;\n"
              "Report: /out/&lt;b>x&amp;lt;/lumbra-report.xml and /out/&lt;b>x&amp;lt;/lumbra-report.csv");
    run.report.reset();
    run.reportError = "/out/<r>.xml: No space left on device";
    run.summary.stopped = true;
    const std::string stopped = RecoveryRunMessage(run, "/out");
    EXPECT_EQ(stopped.rfind("Recovery stopped.\n", 0), 0u);
    EXPECT_NE(stopped.find("The report could not be written: /out/&lt;r>.xml: No space left on device"),
              std::string::npos) << stopped;
}

TEST(RecoveryMessage, PathsOfThisMachineAreReadAsUtf8) {
    struct Case {
        std::string path;
        std::string shown;
    };
    const Case cases[] = {
        {"/home/u/R\xC3\xBC" "ckgabe M\xC3\xBCller", "/home/u/R\xFC" "ckgabe M\xFCller"},
        {"/out/\xC3\xBF\xC2\xA0", "/out/\xFF\xA0"},  // the last two characters of Latin-1
        {"/out/\xC4\x80\xE6\x97\xA5\xF0\x9F\x98\x80", "/out/???"},  // beyond it
        {"/out/R\xFC" "ck", "/out/R\xFC" "ck"},  // never UTF-8: its bytes as they are
        {"/out/\xC3", "/out/\xC3"},        // cut short
    };
    for (const Case& c : cases) {
        RecoveryRunResult run;
        const std::string message = RecoveryRunMessage(run, c.path);
        EXPECT_NE(message.find("Destination: " + c.shown + "\n"), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace lumbra::test
