// extract --from-list recovers exactly the files a list names, from a hand-written list or the
// JSON of list and find, and names every path no file has with exit code 1.
#include <gtest/gtest.h>

#include "cli_recovery_fixture.h"
#include "support/whole_file.h"

namespace lumbra::test {
namespace {

NssImage ListDisk() {
    VolumePlan volume{.name = "DATA"};
    const uint64_t docs = volume.addFolder("Docs");
    volume.addFile("a.txt", docs, 100);
    volume.addFile("b.txt", docs, 200);
    volume.addFile("top.bin", 0, 9000);
    return NssImageBuilder().pool({.name = "POOL", .segments = {{.headerSector = 2048}}, .volumes = {volume}}).build();
}

std::vector<std::string> Extract(const CliImage& disk, const std::string& out, const std::string& list) {
    return {"extract", "--drive", "0", "--pool", "0", "--volume", "0", "--out", disk.scratch(out), "--no-report",
            "--from-list", list};
}

std::set<std::string> Written(const CliImage& disk, const std::string& out) {
    std::set<std::string> names;
    for (const auto& [name, bytes] : FolderContents(disk.scratch(out))) names.insert(name);
    return names;
}

TEST(CliFromList, AHandWrittenListTakesEitherSeparator) {
    const CliImage disk(ListDisk());
    WriteWholeFile(disk.scratch("list.txt"), "Docs/b.txt\r\n\\top.bin\n");
    const CliRun run = disk.run(Extract(disk, "out", disk.scratch("list.txt")));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Written(disk, "out"), (std::set<std::string>{"Docs/b.txt", "top.bin"}));
}

TEST(CliFromList, PathsNotFoundAreListedAndMakeTheExitOne) {
    const CliImage disk(ListDisk());
    WriteWholeFile(disk.scratch("list.txt"), "\\Docs\\a.txt\n\\Docs\\gone.txt\n/nowhere/x\n");
    const CliRun run = disk.run(Extract(disk, "out", disk.scratch("list.txt")));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("not in the volume: \\Docs\\gone.txt\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("not in the volume: \\nowhere\\x\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("2 file(s) of the list not found"), std::string::npos) << run.err;
    EXPECT_EQ(Written(disk, "out"), std::set<std::string>{"Docs/a.txt"}) << "the files found are still recovered";
}

TEST(CliFromList, TheJsonOfListAndFindIsAList) {
    const CliImage disk(ListDisk());
    const CliRun found = disk.run({"find", "b.txt", "--drive", "0", "--pool", "0", "--volume", "0", "--json"});
    ASSERT_EQ(found.exitCode, 0) << found.err;
    WriteWholeFile(disk.scratch("find.json"), found.out);
    const CliRun fromFind = disk.run(Extract(disk, "out1", disk.scratch("find.json")));
    ASSERT_EQ(fromFind.exitCode, 0) << fromFind.err;
    EXPECT_EQ(Written(disk, "out1"), std::set<std::string>{"Docs/b.txt"});

    const CliRun listed = disk.run({"list", "--drive", "0", "--pool", "0", "--volume", "0", "--json"});
    WriteWholeFile(disk.scratch("list.json"), listed.out);
    const CliRun fromList = disk.run(Extract(disk, "out2", disk.scratch("list.json")));
    ASSERT_EQ(fromList.exitCode, 0) << fromList.err;
    EXPECT_EQ(Written(disk, "out2"), (std::set<std::string>{"Docs/a.txt", "Docs/b.txt", "top.bin"}));
}

TEST(CliFromList, ABadOrMissingListIsRefusedBeforeAnythingIsWritten) {
    const CliImage disk(ListDisk());
    WriteWholeFile(disk.scratch("bad.json"), "{\"files\":[{\"size\":1}]}");
    CliRun run = disk.run(Extract(disk, "out", disk.scratch("bad.json")));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("bad.json: entry 1 has no \"path\""), std::string::npos) << run.err;
    run = disk.run(Extract(disk, "out", disk.scratch("missing.txt")));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("missing.txt: the file cannot be read"), std::string::npos) << run.err;
    std::vector<std::string> both = Extract(disk, "out", disk.scratch("bad.json"));
    both.insert(both.end(), {"--path", "\\Docs"});
    EXPECT_EQ(disk.run(both).exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(disk.scratch("out")));
}

}  // namespace
}  // namespace lumbra::test
