#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file_settings_store.h"

namespace lumbra {
namespace {

class FileSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("lumbra-settings-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string file() const { return (dir_ / "sub" / "settings.ini").string(); }

    std::filesystem::path dir_;
};

const std::string kKey = "Software\\lumbra-nss\\MarkupMessageBox";

TEST_F(FileSettingsStoreTest, MissingFileHoldsNothing) {
    const FileSettingsStore store(file());
    EXPECT_FALSE(store.readNumber(kKey, "ask1").has_value());
    EXPECT_FALSE(store.readString(kKey, "ask1").has_value());
}

TEST_F(FileSettingsStoreTest, NumbersAndStringsSurviveANewStore) {
    {
        FileSettingsStore store(file());
        EXPECT_TRUE(store.writeNumber(kKey, "ask1", 6));
        EXPECT_TRUE(store.writeNumber(kKey, "ask2", 0xffffffffu));
        EXPECT_TRUE(store.writeString("Other\\Key", "path", "a=b\\c\r\nline]two"));
    }
    const FileSettingsStore again(file());
    EXPECT_EQ(again.readNumber(kKey, "ask1"), 6u);
    EXPECT_EQ(again.readNumber(kKey, "ask2"), 0xffffffffu);
    EXPECT_EQ(again.readString("Other\\Key", "path"), "a=b\\c\r\nline]two");
    EXPECT_FALSE(again.readString(kKey, "ask1").has_value());  // a number is not a string
    EXPECT_FALSE(again.readNumber("Other\\Key", "path").has_value());
}

TEST_F(FileSettingsStoreTest, WritingReplacesTheValueAndLeavesNoTemporaryFile) {
    FileSettingsStore store(file());
    store.writeNumber(kKey, "ask1", 1);
    store.writeNumber(kKey, "ask1", 7);
    EXPECT_EQ(store.readNumber(kKey, "ask1"), 7u);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir_ / "sub")) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

TEST_F(FileSettingsStoreTest, DamagedLinesAreSkipped) {
    std::filesystem::create_directories(dir_ / "sub");
    std::ofstream(file()) << "junk\nname=n:5\n[" << "Software\\\\K" << "]\nbad\nn=n:12x\nok=n:42\n";
    const FileSettingsStore store(file());
    EXPECT_EQ(store.readNumber("Software\\K", "ok"), 42u);
    EXPECT_FALSE(store.readNumber("Software\\K", "n").has_value());
    EXPECT_FALSE(store.readNumber("", "name").has_value());
}

TEST_F(FileSettingsStoreTest, UnwritablePlaceFailsQuietly) {
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "sub") << "a file where the folder should be";
    FileSettingsStore store(file());
    EXPECT_FALSE(store.writeNumber(kKey, "ask1", 6));
    EXPECT_FALSE(store.readNumber(kKey, "ask1").has_value());
}

// The rename into place fails when a folder has the settings file's name: the write says so
// and leaves no temporary file behind.
TEST_F(FileSettingsStoreTest, AWriteWhoseRenameFailsIsRefusedAndLeavesNoTemporaryFile) {
    std::filesystem::create_directories(file());
    std::ofstream(file() + "/inside") << "kept";
    FileSettingsStore store(file());
    EXPECT_FALSE(store.writeNumber(kKey, "ask1", 6));
    EXPECT_TRUE(std::filesystem::exists(file() + "/inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "sub"), std::filesystem::directory_iterator()), 1);
}

TEST(FileSettingsStorePath, FollowsTheConfigurationHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(FileSettingsStore::DefaultPath(), "/tmp/cfg/lumbra-nss/settings.ini");
    setenv("XDG_CONFIG_HOME", "relative", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(FileSettingsStore::DefaultPath(), "/home/someone/.config/lumbra-nss/settings.ini");
    setenv("HOME", home.c_str(), 1);
    if (saved) {
        setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace
}  // namespace lumbra
