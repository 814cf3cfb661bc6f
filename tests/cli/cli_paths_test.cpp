// One folder or one file named by its path: list --path, extract --path, extract --out -, and
// the body file of list --bodyfile.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_recovery_fixture.h"

namespace lumbra::test {
namespace {

const std::vector<std::string> kMount = {"--drive", "0", "--pool", "0", "--volume", "0"};

std::vector<std::string> With(std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), kMount.begin(), kMount.end());
    return arguments;
}

// \A\B\name.ext beside \A\B\other.ext, and a file of the same name one folder up.
class CliPaths : public ::testing::Test {
protected:
    static NssImage Sample() {
        VolumePlan volume{.name = "DATA"};
        const uint64_t a = volume.addFolder("A");
        const uint64_t b = volume.addFolder("B", a);
        volume.files.push_back({.id = 900, .parent = b, .name = "name.ext", .size = 5000, .time = 1078477651});
        volume.files.push_back({.id = 901, .parent = b, .name = "other.ext", .size = 300});
        volume.files.push_back({.id = 902, .parent = a, .name = "name.ext", .size = 700});
        volume.files.push_back({.id = 903, .parent = 0, .name = "a|b.txt", .size = 10, .time = 1100000000});
        return NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build();
    }
    CliPaths() : disk(Sample(), "cli_paths") {}
    const BuiltFile& file(size_t index) const { return disk.image.pools()[0].volumes[0].files[index]; }
    std::vector<uint8_t> Bytes(const std::string& text) const { return std::vector<uint8_t>(text.begin(), text.end()); }

    CliImage disk;
};

TEST_F(CliPaths, ExtractTakesExactlyTheFileNamedWithEitherSeparator) {
    for (const std::string path : {"\\A\\B\\name.ext", "/A/B/name.ext", "/A/B\\name.ext"}) {
        const std::string out = disk.scratch("out");
        std::filesystem::remove_all(out);
        const CliRun run = disk.run(With({"extract", "--path", path, "--out", out, "--no-report"}));
        ASSERT_EQ(run.exitCode, 0) << path << ": " << run.err;
        const auto written = FolderContents(out);
        ASSERT_EQ(written.size(), 1u) << path;
        EXPECT_EQ(written.begin()->first, "A/B/name.ext");
        EXPECT_EQ(written.begin()->second, NssImage::expectedContent(file(0)));
    }
    const CliRun folder = disk.run(With({"extract", "--path", "/A/B/", "--out", disk.scratch("folder"), "--no-report"}));
    ASSERT_EQ(folder.exitCode, 0) << folder.err;
    EXPECT_EQ(FolderContents(disk.scratch("folder")).size(), 2u);
    const CliRun none = disk.run(With({"extract", "--path", "/A/B/nothing.ext", "--out", disk.scratch("none")}));
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_NE(none.err.find("no folder or file /A/B/nothing.ext"), std::string::npos) << none.err;
}

TEST_F(CliPaths, ExtractToStandardOutputWritesTheFileBytesAlone) {
    const CliRun run = disk.run(With({"extract", "--path", "/A/B/name.ext", "--out", "-"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<uint8_t> expected = NssImage::expectedContent(file(0));
    EXPECT_EQ(Bytes(run.out), expected);
    EXPECT_EQ(run.err, "");
    // A folder is no one file.
    const CliRun folder = disk.run(With({"extract", "--path", "/A/B", "--out", "-"}));
    EXPECT_EQ(folder.exitCode, 2);
    EXPECT_EQ(folder.out, "");
    EXPECT_EQ(disk.run(With({"extract", "--out", "-"})).exitCode, 2);
}

TEST_F(CliPaths, ListOfOneFolderGivesItsRecordsWithTheirWholePaths) {
    const CliRun run = disk.run(With({"list", "--path", "/A"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("  \\A\\B\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  \\A\\name.ext\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("other.ext"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("a|b.txt"), std::string::npos) << run.out;
    const CliRun b = disk.run(With({"list", "--path", "\\A\\B\\", "--json"}));
    EXPECT_NE(b.out.find("\"name\":\"name.ext\",\"size\":5000"), std::string::npos) << b.out;
    EXPECT_NE(b.out.find("\"name\":\"other.ext\""), std::string::npos) << b.out;
    EXPECT_EQ(b.out.find("\"size\":700"), std::string::npos) << b.out;
    EXPECT_EQ(disk.run(With({"list", "--path", "/A/name.ext"})).exitCode, 2);
    EXPECT_EQ(disk.run(With({"list", "--path", "A"})).exitCode, 2);
}

TEST_F(CliPaths, BodyFileHasTheColumnsMactimeReads) {
    const CliRun run = disk.run(With({"list", "--bodyfile"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("0|\\A\\B\\name.ext|900|r/rrwxrwxrwx|0|0|5000|0|1078477651|0|0\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("0|\\a\\x7cb.txt|903|r/rrwxrwxrwx|0|0|10|0|1100000000|0|0\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("0|\\A\\B|"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("|d/drwxrwxrwx|0|0|0|0|"), std::string::npos) << run.out;
    size_t lines = 0;
    for (char c : run.out) lines += c == '\n';
    EXPECT_EQ(lines, 6u);  // two folders, four files
    const CliRun folder = disk.run(With({"list", "--bodyfile", "--path", "/A/B"}));
    EXPECT_EQ(folder.out.rfind("0|\\A\\B\\name.ext|900|", 0), 0u) << folder.out;
    EXPECT_EQ(disk.run(With({"list", "--bodyfile", "--json"})).exitCode, 2);
}

TEST_F(CliPaths, FiltersLongerThanTheDialogsAllowAreTaken) {
    const std::string out = disk.scratch("filtered");
    const CliRun run = disk.run(With({"extract", "--out", out, "--no-report", "--filter", "o" + std::string(20, '*') + "t"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto written = FolderContents(out);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written.begin()->first, "A/B/other.ext");
    EXPECT_EQ(disk.run(With({"extract", "--out", out, "--filter", ""})).exitCode, 2);
}

}  // namespace
}  // namespace lumbra::test
