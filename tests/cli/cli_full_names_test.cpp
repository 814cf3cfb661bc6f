// Names beyond Latin-1 (Russian, Japanese, an emoji) come out whole: as the files written, in
// list's text and JSON, find's rows, the body file and the report; typed as list shows them,
// they name their records.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_recovery_fixture.h"

namespace lumbra::test {
namespace {

const std::string kFolder = "\u0416\u0443\u0440\u043d\u0430\u043b";
const std::string kJapanese = "\u65e5\u672c\u8a9e.txt";
const std::string kEmoji = "emoji \U0001F600.txt";

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(CliFullNames, NamesBeyondLatin1AreWrittenListedAndReportedWhole) {
    VolumePlan volume{.name = "DATA"};
    const uint64_t folder = volume.addFolder(kFolder);
    volume.addFile(kJapanese, folder, 100);
    volume.addFile(kEmoji, 0, 200);
    const CliImage disk(NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build(), "cli_full_names");
    const std::vector<std::string> mount = {"--drive", "0", "--pool", "0", "--volume", "0"};
    const auto run = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), mount.begin(), mount.end());
        return disk.run(arguments);
    };

    const CliRun extract = run({"extract", "--out", disk.scratch("out"), "--report", disk.scratch("r.xml")});
    ASSERT_EQ(extract.exitCode, 0) << extract.err;
    const auto written = FolderContents(disk.scratch("out"));
    EXPECT_EQ(written.count(kFolder + "/" + kJapanese), 1u);
    EXPECT_EQ(written.count(kEmoji), 1u);
    EXPECT_EQ(written.size(), 2u);

    struct Output {
        std::string text;
        std::vector<std::string> holds;
    };
    const Output outputs[] = {
        {run({"list"}).out, {"  \\" + kFolder + "\\" + kJapanese + "\n", "  \\" + kEmoji + "\n", "  " + kFolder + "\n"}},
        {run({"list", "--json"}).out, {"\"name\":\"" + kJapanese + "\"", "\"path\":\"\\\\" + kFolder + "\"",
                                       "\"name\":\"" + kEmoji + "\""}},
        {run({"list", "--path", "/" + kFolder}).out, {"  \\" + kFolder + "\\" + kJapanese + "\n"}},
        {run({"find", kJapanese}).out, {"\\" + kFolder + "\t" + kJapanese + "\t100\n"}},
        {run({"find", "emoji"}).out, {"\\\t" + kEmoji + "\t200\n"}},
        {run({"list", "--bodyfile"}).out, {"0|\\" + kFolder + "\\" + kJapanese + "|", "0|\\" + kEmoji + "|"}},
        {Contents(disk.scratch("r.xml")), {"\\" + kFolder + "\\" + kJapanese, "\\" + kEmoji}},
        {Contents(disk.scratch("r.csv")), {"\\" + kFolder + "\\" + kJapanese, "\\" + kEmoji}},
    };
    const CliRun one = run({"extract", "--path", "/" + kFolder + "/" + kJapanese, "--out", "-"});
    EXPECT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(one.out.size(), 100u);
    for (const Output& output : outputs)
        for (const std::string& part : output.holds) EXPECT_NE(output.text.find(part), std::string::npos) << part << " in\n" << output.text;
}

}  // namespace
}  // namespace lumbra::test
