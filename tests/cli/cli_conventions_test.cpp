// The habits of Linux command-line tools: help and version anywhere, one error line that says
// where the help is, "--", sector numbers as mapfiles write them, and versioned JSON.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/arguments.h"
#include "cli_recovery_fixture.h"

namespace lumbra::test {
namespace {

const std::string kVersion = "lumbra-nss-cli (Corvalt Lumbra Novell NSS) 4.03\n";

TEST(CliConventions, HelpAndVersionStandAnywhereBeforeTheDoubleDash) {
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--version"}, {"-V"}, {"list", "--drive", "0", "-V"}, {"drives", "--version"}}) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, kVersion) << arguments.back();
    }
    const CliRun help = RunCli({"--no-drives", "list", "--drive", "0", "-h"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: lumbra-nss-cli list", 0), 0u) << help.out;
    EXPECT_EQ(RunCli({"-h"}).out.rfind("Usage: lumbra-nss-cli [GLOBAL OPTIONS]", 0), 0u);
    // After "--" they are arguments like any other.
    const CliRun match = RunCli({"match", "--", "-h", "-h", "-V"});
    EXPECT_EQ(match.exitCode, 0) << match.err;
    EXPECT_EQ(match.out, "yes  -h\nno   -V\n");
}

TEST(CliConventions, ABadOptionGivesOneLineAndWhereTheHelpIs) {
    CliRun run = RunCli({"--no-drives", "drives", "--bogus"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "lumbra-nss-cli drives: unknown option --bogus\nTry 'lumbra-nss-cli drives --help' for more information.\n");
    EXPECT_EQ(run.out, "");
    run = RunCli({"frobnicate"});
    EXPECT_EQ(run.err, "lumbra-nss-cli: unknown command frobnicate\nTry 'lumbra-nss-cli --help' for more information.\n");
    run = RunCli({"--retries", "0", "drives"});
    EXPECT_EQ(run.err, "lumbra-nss-cli: --retries takes a number from 1 to 10, not 0\n"
                       "Try 'lumbra-nss-cli --help' for more information.\n");
}

TEST(CliConventions, SectorNumbersAreTakenInHexadecimalToo) {
    struct Case { std::string text; std::optional<uint64_t> number; };
    const std::vector<Case> cases = {
        {"0x10", 16}, {"0XfF", 255}, {"16", 16}, {"0x", std::nullopt}, {"0xg", std::nullopt}, {"x10", std::nullopt},
        {"0xffffffffffffffff", UINT64_MAX}, {"0x10000000000000000", std::nullopt}, {"0x0", 0}, {"-0x1", std::nullopt},
        // A byte position, as mapfiles count, names the sector holding that byte.
        {"0x18D000b", 0xC68}, {"0x18D1FFb", 0xC68}, {"0x18D200b", 0xC69}, {"1625088b", 3174}, {"511b", 0}, {"512b", 1},
        {"0xffffffffffffffffb", UINT64_MAX / 512}, {"b", std::nullopt}, {"0xb", std::nullopt}, {"0xB", 11},
        {"0x18D00B", 0x18D00B}, {"12bb", std::nullopt}, {"12B", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(cli::ParseSectorArgument(c.text, 0, UINT64_MAX), c.number) << c.text;
    EXPECT_EQ(cli::ParseSectorArgument("0x7", 7, 8), 7u);
    EXPECT_EQ(cli::ParseSectorArgument("0x6", 7, 8), std::nullopt);
    EXPECT_EQ(cli::ParseSectorArgument("0x8", 7, 8), 8u);
    EXPECT_EQ(cli::ParseSectorArgument("0x9", 7, 8), std::nullopt);

    ScratchFolder folder("cli_hex");
    const std::string image = folder.numberedImage("disk.img", 40);
    const CliRun hex = RunCli({"--no-drives", "read", "--drive", image, "--sector", "0x1a"});
    EXPECT_EQ(hex.exitCode, 0) << hex.err;
    EXPECT_EQ(hex.out, RunCli({"--no-drives", "read", "--drive", image, "--sector", "26"}).out);
    EXPECT_NE(hex.out.find("sector 26:"), std::string::npos);

    const CliImage disk(NssImageBuilder().pool({.name = "POOL", .volumes = {{.name = "DATA"}}}).build(), "cli_hex_scan");
    const CliRun scanned = disk.run({"pools", "--drive", "0", "--scan", "0x0", "0x1000"});
    EXPECT_EQ(scanned.exitCode, 0) << scanned.err;
    EXPECT_EQ(scanned.out, disk.run({"pools", "--drive", "0", "--scan", "0", "4096"}).out);
    EXPECT_NE(scanned.out.find("POOL"), std::string::npos) << scanned.out;
    EXPECT_EQ(disk.run({"pools", "--drive", "0", "--scan", "0x0", "0xq"}).exitCode, 2);
}

TEST(CliConventions, EveryJsonDocumentStartsWithItsFormatAndTimesAreIso) {
    VolumePlan volume{.name = "DATA"};
    volume.files.push_back({.id = 900, .parent = 0, .name = "Report.doc", .size = 100, .time = 1078477651});
    const CliImage disk(NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build(), "cli_format");
    const std::vector<std::string> mount = {"--drive", "0", "--pool", "0", "--volume", "0"};
    const std::string snapshot = disk.scratch("S.QVDX");
    auto withMount = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), mount.begin(), mount.end());
        return arguments;
    };
    const std::vector<std::vector<std::string>> commands = {
        {"drives"},
        {"read", "--drive", "0", "--sector", "0"},
        {"pools", "--drive", "0"},
        {"volumes", "--drive", "0", "--pool", "0"},
        withMount({"list"}),
        withMount({"find", "rep"}),
        withMount({"snapshot-save", snapshot}),
        {"snapshot-show", snapshot},
        {"snapshot-show", disk.path},
        withMount({"extract", "--out", disk.scratch("out"), "--no-report"}),
        {"match", "a", "b"},
    };
    for (std::vector<std::string> command : commands) {
        command.push_back("--json");
        const CliRun run = disk.run(command);
        EXPECT_EQ(run.out.rfind("{\"format\":1,", 0), 0u) << command.front() << ": " << run.out << run.err;
    }
    const CliRun list = disk.run(withMount({"list", "--json"}));
    EXPECT_NE(list.out.find("\"timeStamp\":1078477651,\"date\":"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\"dateTime\":\"2004-03-05T09:07:31Z\""), std::string::npos) << list.out;
}

TEST(CliRead, EachUnreadableSectorIsMarkedListedAndFailsTheRun) {
    ScratchFolder folder("cli_read_marks");
    const std::string image = folder.numberedImage("disk.img", 8);
    const std::string map = folder.file("disk.map");
    // Sector 3 was never rescued.
    std::ofstream(map) << "# rescue map\n0x0 +\n0x0 0x600 +\n0x600 0x200 -\n0x800 0x800 +\n";
    const std::vector<std::string> source = {"--no-drives", "--image", image, "--mapfile", map};
    auto read = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), source.begin(), source.end());
        return RunCli(arguments);
    };
    CliRun run = read({"read", "--drive", "0", "--sector", "2", "--count", "3"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("sector 2:\n  000  0f 0f"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("sector 3: UNREADABLE, shown as zeros\n  000  00 00"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("sector 4:\n  000  1d 1d"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "lumbra-nss-cli: 1 of 3 sector(s) could not be read; they are shown as zeros\n");

    run = read({"read", "--drive", "0", "--sector", "2", "--count", "3", "--json"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("\"sector\":2,\"count\":3,\"unreadable\":[3],\"hex\":\"0f0f"), std::string::npos) << run.out;

    // The sectors on either side of the bad one read whole.
    run = read({"read", "--drive", "0", "--sector", "4", "--count", "4", "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"unreadable\":[]"), std::string::npos);
    EXPECT_EQ(read({"read", "--drive", "0", "--sector", "0", "--count", "3"}).exitCode, 0);
}

}  // namespace
}  // namespace lumbra::test
