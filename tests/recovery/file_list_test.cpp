// File lists out (CSV, JSON) and in (a path a line with \ or /, or the JSON of list, find or the
// export): what is written, what is read back, and which files a list names.
#include <gtest/gtest.h>

#include "mounted_image.h"
#include "recovery/file_list_export.h"
#include "recovery/file_list_import.h"
#include "recovery/recovery_report.h"
#include "recovery/save_driver.h"

namespace lumbra::test {
namespace {

// \Docs\a.txt, \Docs\Sub\Crème, brûlée.txt (Latin-1), \top.bin and \Other\a.txt.
class FileLists : public ::testing::Test {
protected:
    void SetUp() override {
        VolumePlan volume{.name = "DATA"};
        const uint64_t docs = volume.addFolder("Docs");
        const uint64_t sub = volume.addFolder("Sub", docs);
        const uint64_t other = volume.addFolder("Other");
        volume.addFile("a.txt", docs, 100);
        volume.addFile("Cr\xE8me, br\xFBl\xE9" "e.txt", sub, 5000);
        volume.addFile("top.bin", 0, 9000);
        volume.addFile("a.txt", other, 7);
        mounted = std::make_unique<MountedImage>(BuildVolume(volume));
        mounted->MountVolumeBased();
        ASSERT_EQ(mounted->tree.files().size(), 4u);
    }
    std::vector<std::string> PathsOf(const std::vector<size_t>& indexes) const {
        std::vector<std::string> paths;
        for (const FileListEntry& entry : FileListEntries(mounted->tree, indexes, Intact)) paths.push_back(entry.path);
        return paths;
    }
    static FileCondition Intact(const ItemRecord& file) {
        FileCondition condition{ConditionKind::Intact, 0, {}};
        if (file.size == 5000) condition = {ConditionKind::Damaged, 512, {{1024, 512}}};
        return condition;
    }
    std::unique_ptr<MountedImage> mounted;
};

TEST_F(FileLists, CsvHasAHeaderAndAQuotedLinePerFile) {
    const auto entries = FileListEntries(mounted->tree, {0, 1}, Intact);
    const std::string csv = FileListCsv(entries);
    const std::string date = IsoStamp(mounted->tree.files()[1].timeStamp);
    EXPECT_EQ(csv, "path,size,date,condition,unreadable_bytes,renamed_to\r\n"
                   "\\Docs\\a.txt,100," + IsoStamp(mounted->tree.files()[0].timeStamp) + ",intact,0,\r\n"
                   "\"\\Docs\\Sub\\Cr\xC3\xA8me, br\xC3\xBBl\xC3\xA9" "e.txt\",5000," + date + ",damaged,512,\r\n");
}

// A renamed file or folder is exported by the volume's path, the new name in a column of its
// own, and both forms read back to the same files: by the volume's path, and by the new one.
TEST_F(FileLists, RenamedFilesAreExportedByTheVolumesPathAndReadBackFromCsvAndJson) {
    mounted->tree.RenameFile(1, "../../\"escape\", 2.png");
    for (size_t folder = 0; folder < mounted->tree.folders().size(); ++folder)
        if (mounted->tree.folders()[folder].name == "Sub") mounted->tree.RenameFolder(folder, "Renamed");
    const std::vector<size_t> chosen{0, 1, 2};
    const auto entries = FileListEntries(mounted->tree, chosen, Intact);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].path, "\\Docs\\Sub\\Cr\xE8me, br\xFBl\xE9" "e.txt");
    EXPECT_EQ(entries[1].renamedTo, "../../\"escape\", 2.png");
    EXPECT_EQ(entries[0].renamedTo, "");
    const std::string csv = FileListCsv(entries);
    EXPECT_NE(csv.find(",\"../../\"\"escape\"\", 2.png\"\r\n"), std::string::npos) << csv;
    EXPECT_NE(FileListJson(entries).find("\"renamedTo\": \"../../\\\"escape\\\", 2.png\""), std::string::npos);
    for (const std::string& text : {csv, FileListJson(entries)}) {
        const FileListRead read = ReadFileList(text);
        ASSERT_EQ(read.problem, "");
        EXPECT_EQ(read.paths, PathsOf(chosen));
        const FileListMatch match = MatchFileList(mounted->tree, read.paths);
        EXPECT_EQ(match.fileIndexes, chosen);
        EXPECT_TRUE(match.notFound.empty()) << match.notFound.front();
    }
    EXPECT_EQ(MatchFileList(mounted->tree, {"\\Docs\\Renamed\\../../\"escape\", 2.png"}).fileIndexes,
              std::vector<size_t>{1}) << "the name shown finds it too";
}

TEST_F(FileLists, CsvFormsReadTheirFirstColumnWhateverTheOtherColumnsHold) {
    struct Case {
        std::string text;
        std::vector<std::string> paths;
        std::string problem;
    };
    const std::vector<Case> cases{
        {"path,size,date,condition,unreadable_bytes\r\n\\top.bin,9000,x,intact,0\r\n", {"\\top.bin"}, ""},
        {"path,size,date,condition,unreadable_bytes,renamed_to\n\\a,1,x,intact,0,\"b\r\nc,\"\"d\"\n/e,1,x,intact,0,", {"\\a", "\\e"}, ""},
        {"path,size,date,condition,unreadable_bytes,renamed_to\r\n\"\\x\"\"y\r\nz\",1\r\n\r\n", {"\\x\"y\r\nz"}, ""},
        {"path,size,date,condition,unreadable_bytes,renamed_to\r\n", {}, ""},
        {"path,size,date,condition,unreadable_bytes\r\n\"\\open,1\r\n", {}, "a quoted field has no end"},
        {"path;size\r\n\\a\r\n", {"\\path;size", "\\a"}, ""},  // no export: a plain list
    };
    for (const Case& c : cases) {
        const FileListRead read = ReadFileList(c.text);
        EXPECT_EQ(read.problem, c.problem) << c.text;
        EXPECT_EQ(read.paths, c.problem.empty() ? c.paths : std::vector<std::string>{}) << c.text;
    }
}

TEST_F(FileLists, ExportedJsonReadsBackToTheSameFiles) {
    const std::vector<size_t> chosen{1, 2};
    const std::string json = FileListJson(FileListEntries(mounted->tree, chosen, Intact));
    EXPECT_EQ(json.rfind("{\n \"format\": 1,", 0), 0u) << json;
    EXPECT_NE(json.find("\"condition\": \"damaged\""), std::string::npos);
    EXPECT_NE(json.find("\"unreadableBytes\": 512"), std::string::npos);
    const FileListRead read = ReadFileList(json);
    ASSERT_EQ(read.problem, "");
    EXPECT_EQ(read.paths, PathsOf(chosen));
    const FileListMatch match = MatchFileList(mounted->tree, read.paths);
    EXPECT_EQ(match.fileIndexes, chosen);
    EXPECT_TRUE(match.notFound.empty());
}

TEST_F(FileLists, PlainListsTakeEitherSeparatorAndTellWhatIsMissing) {
    const FileListRead read = ReadFileList("/top.bin\r\n\r\n  \nDocs/Sub/Cr\xC3\xA8me, br\xC3\xBBl\xC3\xA9" "e.txt\n"
                                           "\\Other\\a.txt\n\\Docs\\nothing.txt\n/top.bin");
    ASSERT_EQ(read.problem, "");
    EXPECT_EQ(read.paths, (std::vector<std::string>{"\\top.bin", "\\Docs\\Sub\\Cr\xE8me, br\xFBl\xE9" "e.txt",
                                                    "\\Other\\a.txt", "\\Docs\\nothing.txt", "\\top.bin"}));
    const FileListMatch match = MatchFileList(mounted->tree, read.paths);
    EXPECT_EQ(match.fileIndexes, (std::vector<size_t>{1, 2, 3}));  // list order, each once
    EXPECT_EQ(match.notFound, std::vector<std::string>{"\\Docs\\nothing.txt"});
}

TEST_F(FileLists, LetterCaseCountsOnlyWhenItTellsFilesApart) {
    // find lists names upper-cased.
    const FileListRead read =
        ReadFileList(R"({"matches":[{"name":"A.TXT","path":"\\Docs","size":100},{"name":"TOP.BIN","path":"\\"}]})");
    ASSERT_EQ(read.problem, "");
    EXPECT_EQ(read.paths, (std::vector<std::string>{"\\Docs\\A.TXT", "\\TOP.BIN"}));
    EXPECT_EQ(MatchFileList(mounted->tree, read.paths).fileIndexes, (std::vector<size_t>{0, 2}));
}

TEST_F(FileLists, ListJsonJoinsFolderPathAndName) {
    const FileListRead read = ReadFileList(
        R"({"format":1,"folders":[{"name":"Docs"}],"files":[{"name":"a.txt","path":"\\Other"},{"name":"a.txt","path":"\\Docs\\"}]})");
    ASSERT_EQ(read.problem, "");
    EXPECT_EQ(read.paths, (std::vector<std::string>{"\\Other\\a.txt", "\\Docs\\a.txt"}));
}

TEST_F(FileLists, WhatIsNoListIsRefused) {
    EXPECT_EQ(ReadFileList("{\"files\":").problem, "it is not valid JSON");
    EXPECT_EQ(ReadFileList("{\"format\":2,\"files\":[]}").problem, "its format 2 is not known");
    EXPECT_EQ(ReadFileList("{\"pools\":[]}").problem, "it has no \"files\" or \"matches\" list");
    EXPECT_EQ(ReadFileList("{\"files\":[{\"path\":\"\\\\a\"},{\"size\":1}]}").problem, "entry 2 has no \"path\"");
    EXPECT_EQ(ReadFileList("{\"files\":[{\"path\":\"\\\\\",\"name\":5}]}").problem, "entry 1 has a bad \"name\"");
    EXPECT_EQ(ReadFileList(std::string(kMaxFileListBytes + 1, '\n')).problem, "it is too large");
    EXPECT_EQ(ReadFileList(std::string(kMaxFileListBytes, ' ')).problem, "");
    EXPECT_TRUE(ReadFileList("").paths.empty());
}

TEST_F(FileLists, TheFilesOfASelectionAreThoseRecoverSelectedTakes) {
    SaveSelection folder;
    folder.folderIndexes = {0};  // Docs and what lies below it
    EXPECT_EQ(PathsOf(SelectedFiles(mounted->tree, folder)),
              (std::vector<std::string>{"\\Docs\\a.txt", "\\Docs\\Sub\\Cr\xE8me, br\xFBl\xE9" "e.txt"}));
}

}  // namespace
}  // namespace lumbra::test
