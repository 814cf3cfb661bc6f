// extract --resume follows each record to the copy it made, so that two records of one name in
// one folder never meet each other's copies: any number of resumes after a whole run, or after
// a run whose copies were cut short, leaves exactly the files of the whole run.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli_recovery_fixture.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::CliImage;
using test::FolderContents;
using test::VolumePlan;

struct TwinCase {
    uint64_t firstSize;
    uint64_t secondSize;
    const char* duplicates;
};

TEST(CliExtractResume, TwoRecordsOfOneNameEachKeepTheirOwnCopy) {
    // A smaller first copy was overwritten, equal sizes skipped the second record, and a larger
    // first copy added another "Copy (2 ) of" at every resume.
    const TwinCase cases[] = {
        {170774, 8305, "rename"}, {8305, 170774, "rename"}, {5000, 5000, "rename"}, {8305, 170774, "overwrite"}};
    for (const TwinCase& twin : cases) {
        VolumePlan volume{.name = "DATA"};
        const uint64_t folder = volume.addFolder("2002");
        volume.addFile("Employee handbook.doc", folder, twin.firstSize);
        volume.addFile("Employee handbook.doc", folder, twin.secondSize);
        volume.addFile("Letter.msg", folder, 4000);
        CliImage disk(test::NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build(), "cli_resume");
        const std::vector<std::string> extract = {"extract", "--drive", "0", "--pool", "0", "--volume", "0",
                                                  "--no-report", "--duplicates", twin.duplicates, "--out"};
        auto run = [&](const std::string& out, bool resume) {
            std::vector<std::string> arguments = extract;
            arguments.push_back(out);
            if (resume) arguments.push_back("--resume");
            return disk.run(arguments);
        };
        const std::string whole = disk.scratch("whole");
        ASSERT_EQ(run(whole, false).exitCode, 0);
        const auto expected = FolderContents(whole);

        // Resumes after a whole run find every copy there.
        const std::string again = disk.scratch("again");
        ASSERT_EQ(run(again, false).exitCode, 0);
        for (int resume = 0; resume < 2; ++resume) {
            const auto resumed = run(again, true);
            EXPECT_EQ(resumed.exitCode, 0) << resumed.err;
            EXPECT_EQ(resumed.out.rfind("3 file(s) already there\n0 file(s) saved", 0), 0u) << resumed.out;
        }
        EXPECT_TRUE(FolderContents(again) == expected) << twin.firstSize << "/" << twin.secondSize;

        // Every copy cut short, as Skip leaves them, is written again in its own place.
        if (twin.duplicates != std::string("rename")) continue;
        const std::string cut = disk.scratch("cut");
        ASSERT_EQ(run(cut, false).exitCode, 0);
        const std::string ledgerPath = cut + "/" + kRunLedgerName;
        const std::vector<uint8_t> ledger = test::ReadWholeFile(ledgerPath);
        std::istringstream lines(std::string(ledger.begin(), ledger.end()));
        std::string begun;
        for (std::string line; std::getline(lines, line);)
            if (line[0] != 'W') begun += line + "\n";
        test::WriteWholeFile(ledgerPath, begun);
        for (const auto& [path, bytes] : expected) fs::resize_file(fs::path(cut) / path, bytes.size() / 2);
        const auto resumed = run(cut, true);
        EXPECT_EQ(resumed.exitCode, 0) << resumed.err;
        EXPECT_EQ(resumed.out.rfind("0 file(s) already there\n3 file(s) saved", 0), 0u) << resumed.out;
        EXPECT_TRUE(FolderContents(cut) == expected) << twin.firstSize << "/" << twin.secondSize;
    }
}

}  // namespace
}  // namespace lumbra
