#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/command.h"
#include "cli_runner.h"
#include "support/fake_system_disks.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

using test::FakeSystemDisks;
using test::OrdinaryUser;
using test::RunCli;
using test::ScratchFolder;

TEST(CliDrives, ListsImagesAsJsonInOrder) {
    ScratchFolder folder("cli_drives");
    const std::string a = folder.numberedImage("first.img", 16065 + 1);
    const std::string b = folder.numberedImage("second.img", 10);
    const auto run = RunCli({"--no-drives", "--image", a, "drives", "--json", "--image=" + b});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"format\":1,\"drives\":[{\"row\":0,\"model\":\"first.img\",\"path\":\"" + a +
                  "\",\"cylinders\":1,\"heads\":255,\"sectorsPerTrack\":63,\"totalSectors\":16065,"
                  "\"bytes\":8225792},"
                  "{\"row\":1,\"model\":\"second.img\",\"path\":\"" + b +
                  "\",\"cylinders\":0,\"heads\":255,\"sectorsPerTrack\":63,\"totalSectors\":0,"
                  "\"bytes\":5120}]}\n");
}

// An image of 0 bytes is refused when it is opened, given as --image or as --drive; one of a
// single byte is a drive whose exact size the JSON gives beside its geometry.
TEST(CliDrives, AnEmptyImageIsRefusedATinyOneKeepsItsExactSize) {
    ScratchFolder folder("cli_empty_image");
    const std::string empty = folder.file("empty.img");
    std::ofstream(empty).flush();
    const std::string tiny = folder.file("tiny.img");
    std::ofstream(tiny) << "x";
    const auto given = RunCli({"--no-drives", "--image", empty, "pools", "--drive", "0"});
    EXPECT_EQ(given.exitCode, 2);
    EXPECT_EQ(given.err, "lumbra-nss-cli: cannot open image " + empty + ": the image is empty\n");
    EXPECT_EQ(given.out, "");
    const auto asDrive = RunCli({"--no-drives", "pools", "--drive", empty});
    EXPECT_EQ(asDrive.exitCode, 2);
    EXPECT_EQ(asDrive.err, "lumbra-nss-cli: cannot open image " + empty + ": the image is empty\n");
    const auto listed = RunCli({"--no-drives", "--image", tiny, "drives", "--json"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("\"totalSectors\":0,\"bytes\":1}"), std::string::npos) << listed.out;
}

// The drives command over a stand-in for the machine's disks, with or without --json.
std::string ListDrives(const FakeSystemDisks& disks, bool json) {
    std::ostringstream out, err;
    cli::CliContext context(cli::GlobalSettings{}, out, err);
    context.disk.EnumerateDrives(DriveSources{.listSystemDisks = true, .images = {}, .systemPaths = disks.paths()}, "");
    cli::ParsedArguments arguments;
    if (json) arguments.options["--json"].push_back({});
    EXPECT_EQ(cli::DrivesCommand().run(context, arguments), 0);
    EXPECT_EQ(err.str(), "");
    return out.str();
}

// Listing asks for no rights: the disks this user may not read are listed like the others.
TEST(CliDrives, DisksThisUserMayNotReadAreListedToo) {
    ScratchFolder folder("cli_unopened");
    FakeSystemDisks disks(folder);
    disks.addReadable("sda");
    disks.addUnreadable("sdb");
    disks.addUnreadable("sdc");
    std::string table, json;
    {
        const OrdinaryUser user;
        ASSERT_TRUE(user.active());
        table = ListDrives(disks, false);
        json = ListDrives(disks, true);
    }
    for (const char* label : {"Storage Device0", "Storage Device1", "Storage Device2"})
        EXPECT_NE(table.find(label), std::string::npos) << table;
    EXPECT_NE(table.find(disks.paths().dev + "/sdc\n"), std::string::npos) << table;
    EXPECT_EQ(table.find("sudo"), std::string::npos) << table;
    EXPECT_NE(json.find("\"path\":\"" + disks.paths().dev + "/sdb\""), std::string::npos) << json;
    EXPECT_TRUE(json.ends_with("}]}\n")) << json;
}

TEST(CliDrives, AnImageThatCannotBeOpenedIsRefusedNotListed) {
    ScratchFolder folder("cli_unopenable");
    const std::string good = folder.numberedImage("good.img", 8);
    const std::string missing = folder.file("missing.img");
    const auto run = RunCli({"--no-drives", "--image", good, "--image", missing, "drives", "--json"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "lumbra-nss-cli: cannot open image " + missing + ": No such file or directory\n");
    EXPECT_EQ(run.out, "");
    const auto folderAsImage = RunCli({"--no-drives", "--image", folder.path().string(), "drives"});
    EXPECT_EQ(folderAsImage.exitCode, 2);
    EXPECT_NE(folderAsImage.err.find("is a folder"), std::string::npos) << folderAsImage.err;
}

TEST(CliDrives, TableShowsCapacityLikeTheDriveStep) {
    ScratchFolder folder("cli_table");
    const std::string a = folder.numberedImage("disk.img", 4096);
    const auto run = RunCli({"drives", "--no-drives", "--image", a});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Storage Device0"), std::string::npos);
    EXPECT_NE(run.out.find("2 MB ( Approx )"), std::string::npos);  // the real 4096 sectors, not a cylinder
    EXPECT_NE(run.out.find("disk.img"), std::string::npos);
}

TEST(CliRead, DumpsTheSectorsOfARowOrAPath) {
    ScratchFolder folder("cli_read");
    const std::string a = folder.numberedImage("disk.img", 8);
    const auto byRow = RunCli({"--no-drives", "--image", a, "read", "--drive", "0", "--sector", "2", "--count", "2"});
    ASSERT_EQ(byRow.exitCode, 0) << byRow.err;
    EXPECT_NE(byRow.out.find("sector 2:\n  000  0f 0f 0f"), std::string::npos);
    EXPECT_NE(byRow.out.find("sector 3:\n  000  16 16 16"), std::string::npos);
    const auto byPath = RunCli({"read", "--sector", "2", "--count", "2", "--no-drives", "--drive", a});
    EXPECT_EQ(byPath.exitCode, 0);
    EXPECT_EQ(byPath.out, byRow.out);
}

TEST(CliRead, PastTheEndIsAnEnvironmentFailure) {
    ScratchFolder folder("cli_past");
    const std::string a = folder.numberedImage("disk.img", 8);
    const auto run = RunCli({"--no-drives", "read", "--drive", a, "--sector", "7", "--count", "2"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("sector 7:\n  000  32 32"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("sector 8: UNREADABLE, shown as zeros\n  000  00 00"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "lumbra-nss-cli: 1 of 2 sector(s) could not be read; they are shown as zeros\n");
}

TEST(CliArguments, BadInputIsRefusedWithExitTwo) {
    ScratchFolder folder("cli_bad");
    const std::string a = folder.numberedImage("disk.img", 8);
    struct Case { std::vector<std::string> arguments; std::string message; };
    const std::vector<Case> cases = {
        {{"frobnicate"}, "unknown command frobnicate"},
        {{}, "a COMMAND is needed"},
        {{"--no-drives", "read", "--sector", "1"}, "--drive ROW|PATH is required"},
        {{"--no-drives", "read", "--drive", "3", "--sector", "1"}, "there is no drive row 3"},
        {{"--no-drives", "read", "--drive", folder.file("nothing.img"), "--sector", "1"}, "no such drive or image file"},
        {{"--no-drives", "read", "--drive", a, "--sector", "-5"}, "--sector takes a sector number"},
        {{"--no-drives", "read", "--drive", a, "--sector", "1", "--count", "0"}, "--count takes a number"},
        {{"--no-drives", "read", "--drive", a, "--sector"}, "option --sector needs 1 value"},
        {{"--no-drives", "drives", "--bogus"}, "unknown option --bogus"},
        {{"--access-mode=X", "drives"}, "--access-mode takes N or F"},
        {{"--retries", "11", "drives"}, "--retries takes a number from 1 to 10"},
        {{"--sectors-per-read", "0", "drives"}, "--sectors-per-read takes a number from 1 to 100"},
        {{"drives", "extra"}, "drives takes no arguments"},
    };
    for (const Case& c : cases) {
        const auto run = RunCli(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST(CliArguments, HelpForTheProgramAndEachCommand) {
    EXPECT_EQ(RunCli({"--help"}).exitCode, 0);
    EXPECT_NE(RunCli({"--help"}).out.find("Exit codes:\n  0      done"), std::string::npos);
    const auto read = RunCli({"read", "--help"});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.out.rfind("Usage: lumbra-nss-cli read", 0), 0u);
}

TEST(CliArguments, DoubleDashEndsTheOptions) {
    const auto run = RunCli({"--no-drives", "drives", "--", "--json"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("drives takes no arguments: --json"), std::string::npos);
}

TEST(CliBiosMode, ListsAndReadsTheSameImageThroughTheEmulatedLibraries) {
    ScratchFolder folder("cli_bios");
    const std::string a = folder.numberedImage("disk.img", 2100);
    unsetenv("LUMBRA_BIOS_DISKS");
    const auto normal = RunCli({"--no-drives", "--image", a, "read", "--drive", "0", "--sector", "1500", "--count", "3"});
    const auto bios = RunCli({"--access-mode=F", "--image", a, "read", "--drive", "0", "--sector", "1500", "--count", "3"});
    unsetenv("LUMBRA_BIOS_DISKS");
    ASSERT_EQ(bios.exitCode, 0) << bios.err;
    EXPECT_EQ(bios.out, normal.out);
}

// A 64-sector image whose map says sector 5 was never rescued.
struct MappedImage {
    explicit MappedImage(const ScratchFolder& folder)
        : image(folder.numberedImage("disk.img", 64)), map(folder.file("disk.map")) {
        std::ofstream(map) << "# rescue map\n0x0 +\n0x0 0xA00 +\n0xA00 0x200 -\n0xC00 0x7400 +\n";
    }
    std::string image;
    std::string map;
};

// The first line of bytes of a one-sector dump (after the line naming the sector).
std::string FirstDumpLine(const test::CliRun& run) {
    const size_t start = run.out.find('\n') + 1;
    return run.out.substr(start, run.out.find('\n', start) - start);
}

// The same image twice is two rows; a map belongs to the --image it follows, whichever that is.
TEST(CliRescueMaps, AMapBelongsToTheImageItFollows) {
    ScratchFolder folder("cli_map_rows");
    const MappedImage disk(folder);
    const std::vector<std::string> first = {"--no-drives", "--image", disk.image, "--mapfile", disk.map, "--image",
                                            disk.image};
    const std::vector<std::string> second = {"--no-drives", "--image", disk.image, "--image", disk.image,
                                             "--mapfile", disk.map};
    for (const auto& [options, mappedRow] : {std::pair{first, "0"}, std::pair{second, "1"}}) {
        for (const std::string row : {"0", "1"}) {
            std::vector<std::string> arguments = options;
            arguments.insert(arguments.end(), {"read", "--drive", row, "--sector", "5"});
            const auto run = RunCli(arguments);
            const bool mapped = row == mappedRow;
            EXPECT_EQ(run.exitCode, mapped ? 1 : 0) << row << run.err;
            EXPECT_NE(FirstDumpLine(run).find(mapped ? " 00 00 00 00" : " 24 24 24 24"), std::string::npos)
                << row << run.out;
        }
    }
}

// The map sits under the BIOS libraries too: the sector never rescued is not copied from the
// image as if it had been read.
TEST(CliBiosMode, TheRescueMapAppliesInTheFModeToo) {
    ScratchFolder folder("cli_bios_map");
    const MappedImage disk(folder);
    unsetenv("LUMBRA_BIOS_DISKS");
    const auto hole = RunCli({"--access-mode=F", "--image", disk.image, "--mapfile", disk.map, "read", "--drive",
                              "0", "--sector", "5"});
    unsetenv("LUMBRA_BIOS_DISKS");
    const auto beside = RunCli({"--access-mode=F", "--image", disk.image, "--mapfile", disk.map, "read", "--drive",
                                "0", "--sector", "6"});
    unsetenv("LUMBRA_BIOS_DISKS");
    EXPECT_EQ(hole.exitCode, 1) << hole.err;
    EXPECT_NE(FirstDumpLine(hole).find(" 00 00 00 00"), std::string::npos) << hole.out;
    EXPECT_EQ(beside.exitCode, 0) << beside.err;
    EXPECT_NE(FirstDumpLine(beside).find(" 2b 2b 2b 2b"), std::string::npos) << beside.out;
}

TEST(CliBiosMode, MissingLibraryEndsWithItsMessageAndExitOne) {
    ScratchFolder folder("cli_nolib");
    std::filesystem::copy_file(std::string(LUMBRA_BIN_DIR) + "/lumbra-nss-cli", folder.file("lumbra-nss-cli"));
    const std::string command = folder.file("lumbra-nss-cli") + " --access-mode=F drives 2>" + folder.file("err.txt");
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::ifstream in(folder.file("err.txt"));
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "Corvalt Lumbra Novell NSS: Disk32.dll not found or corrupted");
}

}  // namespace
}  // namespace lumbra
