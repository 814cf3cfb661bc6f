#include <gtest/gtest.h>

#include <sys/mount.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_recovery_fixture.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::CliImage;
using test::FolderContents;
using test::VolumePlan;

VolumePlan SampleVolume() {
    VolumePlan volume{.name = "DATA"};
    uint64_t docs = volume.addFolder("Documents");
    uint64_t letters = volume.addFolder("Letters", docs);
    volume.files.push_back({.id = 900, .parent = docs, .name = "Report.doc", .size = 12345, .time = 1078477651});
    volume.addFile("Note.txt", letters, 4096);
    volume.addFile("Empty", 0, 0);
    volume.addFile("Caf\u00e9.xls", 0, 7000);
    volume.addFile("Lost.doc", 777, 10);
    return volume;
}

test::NssImage SampleImage() {
    return test::NssImageBuilder().pool({.name = "POOL", .volumes = {SampleVolume()}}).build();
}

const std::vector<std::string> kMount = {"--drive", "0", "--pool", "0", "--volume", "0"};

std::vector<std::string> With(std::vector<std::string> arguments, const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

class CliRecovery : public ::testing::Test {
protected:
    CliImage disk{SampleImage()};
};

TEST_F(CliRecovery, ListPrintsFoldersAndFilesInListOrderAsJson) {
    const auto run = disk.run(With({"list", "--json"}, kMount));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("{\"format\":1,\"folders\":[{\"itemNumber\":0,\"objectId\":", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\"name\":\"Letters\""), std::string::npos);
    EXPECT_NE(run.out.find("{\"itemNumber\":0,\"objectId\":900,\"parentId\":"), std::string::npos);
    EXPECT_NE(run.out.find("\"name\":\"Report.doc\",\"size\":12345,\"firstBlock\":"), std::string::npos);
    EXPECT_NE(run.out.find("\"timeStamp\":1078477651,\"date\":"), std::string::npos);
    EXPECT_NE(run.out.find("\"path\":\"\\\\Documents\",\"condition\":\"not read yet\"}"), std::string::npos);
    EXPECT_NE(run.out.find("\"name\":\"Caf\xC3\xA9.xls\""), std::string::npos);
    EXPECT_LT(run.out.find("\"name\":\"Report.doc\""), run.out.find("\"name\":\"Note.txt\""));
}

TEST_F(CliRecovery, FindShowsNamesAsTheVolumeHoldsThemWithTheirPaths) {
    const auto run = disk.run(With({"find", "doc", "--json"}, kMount));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "{\"format\":1,\"count\":2,\"matches\":[{\"name\":\"Report.doc\",\"path\":\"\\\\Documents\",\"size\":12345,"
                       "\"condition\":\"not read yet\"},"
                       "{\"name\":\"Lost.doc\",\"path\":\"\\\\\",\"size\":10,\"condition\":\"not read yet\"}],"
                       "\"unreadableMetadataSectors\":0}\n");
    const auto accented = disk.run(With({"find", "caf\xC3\xA9", "--json"}, kMount));
    EXPECT_NE(accented.out.find("\"name\":\"Caf\xC3\xA9.xls\""), std::string::npos) << accented.out;
    const auto text = disk.run(With({"find", "DOC"}, kMount));
    EXPECT_EQ(text.out, "\\Documents\tReport.doc\t12345\n\\\tLost.doc\t10\n");
    EXPECT_EQ(text.err, "2 file(s) found\n");
}

TEST(CliMatch, TriesAPatternOnNamesUpperCased) {
    const auto run = test::RunCli({"--no-drives", "match", "*.doc", "report.DOC", "x.txt", "a", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "{\"format\":1,\"results\":[true,false,false]}\n");
    EXPECT_EQ(test::RunCli({"--no-drives", "match", "*a", "a", "ba", "--json"}).out, "{\"format\":1,\"results\":[false,true]}\n");
    EXPECT_EQ(test::RunCli({"--no-drives", "match", "x"}).exitCode, 2);
}

TEST_F(CliRecovery, ExtractWritesEveryFileAndASummary) {
    const std::string out = disk.scratch("out");
    const auto run = disk.run(With({"extract", "--out", out, "--no-report"}, kMount));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "4 file(s) saved (0 cut short), 1 skipped, 0 failed, 23451 bytes\n"
                       "0 file(s) damaged, 0 cut short\n");
    const auto& files = disk.image.pools()[0].volumes[0].files;
    EXPECT_EQ(FolderContents(out),
              (std::map<std::string, std::vector<uint8_t>>{
                  {"Documents/Report.doc", test::NssImage::expectedContent(files[0])},
                  {"Documents/Letters/Note.txt", test::NssImage::expectedContent(files[1])},
                  {"Caf\xC3\xA9.xls", test::NssImage::expectedContent(files[3])},
                  {"Lost.doc", test::NssImage::expectedContent(files[4])}}));
}

TEST_F(CliRecovery, ExtractTakesFiltersAFolderAndTheDuplicateSetting) {
    const std::string out = disk.scratch("out");
    auto run = disk.run(With({"extract", "--out", out, "--filter", "*.TXT", "--filter", "zz", "--json", "--no-report"}, kMount));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "{\"format\":1,\"saved\":1,\"skipped\":4,\"failed\":0,\"shortFiles\":0,\"bytes\":4096,\"stopped\":false,"
                       "\"damaged\":0,\"report\":\"\",\"unreadableMetadataSectors\":0}\n");
    run = disk.run(With({"extract", "--out", out, "--path", "\\Documents\\", "--duplicates", "skip", "--json", "--no-report"}, kMount));
    EXPECT_EQ(run.out, "{\"format\":1,\"saved\":1,\"skipped\":1,\"failed\":0,\"shortFiles\":0,\"bytes\":12345,\"stopped\":false,"
                       "\"damaged\":0,\"report\":\"\",\"unreadableMetadataSectors\":0}\n");
    run = disk.run(With({"extract", "--out", out, "--path", "\\Documents\\Letters"}, kMount));
    EXPECT_TRUE(fs::exists(fs::path(out) / "Documents" / "Letters" / "Copy (1 ) of Note.txt"));
    EXPECT_EQ(disk.run(With({"extract", "--out", out, "--path", "\\Nowhere"}, kMount)).exitCode, 2);
    EXPECT_EQ(disk.run(With({"extract", "--out", out, "--duplicates", "twice"}, kMount)).exitCode, 2);
}

TEST_F(CliRecovery, AFileThatCannotBeWrittenIsCountedAsFailed) {
    const std::string out = disk.scratch("out");
    fs::create_directories(fs::path(out));
    std::ofstream(fs::path(out) / "Documents") << "a file where a folder should be";
    const auto run = disk.run(With({"extract", "--out", out}, kMount));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.rfind("2 file(s) saved (0 cut short), 1 skipped, 2 failed, 7010 bytes\n", 0), 0u) << run.out;
    EXPECT_NE(run.err.find("cannot create " + out + "/Documents/Report.doc: Something that is not a folder has this name."),
              std::string::npos)
        << run.err;
}

// Each file that cannot be written is one line with its path and the system's reason, for the
// first three of a kind; the rest are counted on one line. A destination folder, a snapshot or
// a picture that cannot be written says why as well.
TEST_F(CliRecovery, FileErrorsAreOneLineEachWithTheirReasonAndThenACount) {
    const fs::path readOnly = disk.scratch("read-only");
    fs::create_directories(readOnly);
    if (::mount("tmpfs", readOnly.c_str(), "tmpfs", MS_RDONLY, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs";
    const auto run = disk.run(With({"extract", "--out", readOnly.string(), "--no-report"}, kMount));
    const std::string snapshot = readOnly.string() + "/S.QVDX";
    const auto saved = disk.run(With({"snapshot-save", snapshot}, kMount));
    const auto drawn = disk.run({"map", "--drive", "0", "--svg", readOnly.string() + "/map.svg"});
    ::umount(readOnly.c_str());
    EXPECT_EQ(saved.err, "lumbra-nss-cli: cannot save " + snapshot + ": Read-only file system\n");
    EXPECT_EQ(drawn.err, "lumbra-nss-cli: cannot create " + readOnly.string() + "/map.svg: Read-only file system\n");
    EXPECT_EQ(run.exitCode, 1);
    std::istringstream lines(run.err);
    std::vector<std::string> fileLines;
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(line.find('\r'), std::string::npos) << line;
        if (line.rfind("lumbra-nss-cli: cannot create " + readOnly.string() + "/", 0) == 0) fileLines.push_back(line);
    }
    ASSERT_EQ(fileLines.size(), 3u) << run.err;
    for (const std::string& line : fileLines) EXPECT_NE(line.find(": Read-only file system"), std::string::npos) << line;
    EXPECT_NE(run.err.find("lumbra-nss-cli: 1 more file(s) could not be created\n"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Yes"), std::string::npos) << run.err;

    const std::string plainFile = disk.scratch("plain");
    std::ofstream(plainFile) << "a file";
    const auto folder = disk.run(With({"extract", "--out", plainFile + "/sub"}, kMount));
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_NE(folder.err.find("cannot create the folder " + plainFile + "/sub: Not a directory"), std::string::npos)
        << folder.err;
}

TEST_F(CliRecovery, SnapshotSaveShowAndASecondRunThatExtractsTheSameFiles) {
    const auto saved = disk.run(With({"snapshot-save", disk.scratch("scan")}, kMount));
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    const std::string snapshot = disk.scratch("SCAN.QVDX");
    EXPECT_EQ(saved.out, "Saved " + snapshot + "\n");

    const auto shown = test::RunCli({"--no-drives", "snapshot-show", snapshot, "--json"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out.rfind("{\"format\":1,\"selectedDrive\":0,\"pool\":{\"name\":\"POOL\",\"poolSize\":", 0), 0u) << shown.out;
    EXPECT_NE(shown.out.find("\"segmentCount\":1,\"segments\":[{\"start\":"), std::string::npos);
    EXPECT_NE(shown.out.find("\"volumes\":[{\"name\":\"DATA\",\"rootSector\":"), std::string::npos);
    EXPECT_NE(shown.out.find("\"selectedPool\":0,\"selectedVolume\":0,\"complete\":true,\"folders\":[{\"itemNumber\":0"),
              std::string::npos);

    const auto listed = disk.run(With({"list", "--json"}, kMount));
    const auto loaded = disk.run({"list", "--json", "--snapshot", snapshot});
    EXPECT_EQ(loaded.out, listed.out);

    const std::string first = disk.scratch("first"), second = disk.scratch("second");
    ASSERT_EQ(disk.run(With({"extract", "--out", first, "--no-report"}, kMount)).exitCode, 0);
    const auto fromSnapshot = disk.run({"extract", "--out", second, "--snapshot", snapshot, "--no-report"});
    ASSERT_EQ(fromSnapshot.exitCode, 0) << fromSnapshot.err;
    EXPECT_EQ(FolderContents(second), FolderContents(first));
    EXPECT_EQ(FolderContents(second).size(), 4u);
}

TEST_F(CliRecovery, SavingALoadedSnapshotGivesTheSameBytes) {
    ASSERT_EQ(disk.run(With({"snapshot-save", disk.scratch("ONE.QVDX")}, kMount)).exitCode, 0);
    ASSERT_EQ(disk.run({"snapshot-save", disk.scratch("TWO.QVDX"), "--snapshot", disk.scratch("ONE.QVDX")}).exitCode, 0);
    EXPECT_EQ(FolderContents(disk.folder.path())["ONE.QVDX"], FolderContents(disk.folder.path())["TWO.QVDX"]);
}

TEST(CliSnapshotShow, AWrongTagOrVersionPrintsTheMessageAndExitsWithTwo) {
    test::ScratchFolder folder("cli_tag");
    std::ofstream(folder.file("A.QVDX"), std::ios::binary) << "PKZIP..1.0rest";
    auto run = test::RunCli({"--no-drives", "snapshot-show", folder.file("A.QVDX"), "--json"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "{\"format\":1,\"message\":\"    Invalid version of the file found : PKZIP..\",\"path\":\"" +
                           folder.file("A.QVDX") + "\",\"reason\":\"not a recovery snapshot\"}\n");
    std::ofstream(folder.file("B.QVDX"), std::ios::binary) << "QVD4.032.0rest";
    run = test::RunCli({"--no-drives", "snapshot-show", folder.file("B.QVDX"), "--json"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out,
              "{\"format\":1,\"message\":\"              version of file does not match with current version 1.0\",\"path\":\"" +
                  folder.file("B.QVDX") + "\",\"reason\":\"a snapshot of another version\"}\n");
    std::ofstream(folder.file("C.QVDX"), std::ios::binary) << "qvd4.031.0";
    EXPECT_EQ(test::RunCli({"--no-drives", "snapshot-show", folder.file("C.QVDX")}).exitCode, 2);
    EXPECT_EQ(test::RunCli({"--no-drives", "snapshot-show", folder.file("missing.QVDX")}).exitCode, 1);
}

TEST_F(CliRecovery, ASnapshotWhoseDriveRowIsNotInThisRunsTableIsRefused) {
    ASSERT_EQ(disk.run(With({"snapshot-save", disk.scratch("S.QVDX")}, kMount)).exitCode, 0);
    const auto run = test::RunCli({"--no-drives", "list", "--snapshot", disk.scratch("S.QVDX")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("drive row 0"), std::string::npos);
    EXPECT_EQ(disk.run({"list", "--snapshot", disk.scratch("S.QVDX"), "--pool", "0"}).exitCode, 2);
}

TEST_F(CliRecovery, PoolBasedMountNeedsNoVolumeRow) {
    const auto run = disk.run({"find", "*.*", "--drive", "0", "--pool", "0", "--pool-based", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Report.doc"), std::string::npos);
    EXPECT_EQ(disk.run({"list", "--drive", "0", "--pool", "0"}).exitCode, 2);
    EXPECT_EQ(disk.run({"list", "--drive", "0", "--pool", "3", "--volume", "0"}).exitCode, 2);
}

}  // namespace
}  // namespace lumbra
