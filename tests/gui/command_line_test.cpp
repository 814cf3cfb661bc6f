// lumbra-nss answers --help, --version and a bad option on a terminal with no display at all.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "gui/desktop_command_line.h"
#include "support/scratch_folder.h"

namespace {

struct ProgramRun {
    int exitCode;
    std::string output;   // stdout and stderr together
};

// Runs the program with every way to a display removed from its environment.
ProgramRun RunWithoutDisplay(const std::string& arguments) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " LUMBRA_BIN_DIR
                                "/lumbra-nss " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, {}};
    std::string output;
    std::array<char, 4096> chunk{};
    while (size_t n = fread(chunk.data(), 1, chunk.size(), pipe)) output.append(chunk.data(), n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(DesktopCommandLine, AnswersWithoutADisplay) {
    const ProgramRun help = RunWithoutDisplay("--help");
    EXPECT_EQ(help.exitCode, 0) << help.output;
    EXPECT_NE(help.output.find("Usage: lumbra-nss"), std::string::npos) << help.output;
    for (const char* option : {"--image <PATH>", "--no-drives", "--access-mode <N|F>", "--version"})
        EXPECT_NE(help.output.find(option), std::string::npos) << option;
    EXPECT_EQ(help.output.find("could not connect to display"), std::string::npos);

    const ProgramRun version = RunWithoutDisplay("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "Corvalt Lumbra Novell NSS Version 4.03\n");

    const ProgramRun bad = RunWithoutDisplay("--no-such-option");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.output.find("Unknown option 'no-such-option'"), std::string::npos) << bad.output;

    const ProgramRun badMode = RunWithoutDisplay("--access-mode=X");
    EXPECT_EQ(badMode.exitCode, 2);
    EXPECT_NE(badMode.output.find("--access-mode takes N or F"), std::string::npos) << badMode.output;
}

TEST(DesktopCommandLine, FurtherArgumentsAreDiskImagesAsWithImage) {
    const auto parsed = lumbra::ParseDesktopCommandLine(
        {"lumbra-nss", "--no-drives", "first.img", "--image", "second.img", "third disk.img", "--access-mode=f"});
    ASSERT_TRUE(std::holds_alternative<lumbra::DesktopOptions>(parsed));
    const auto& options = std::get<lumbra::DesktopOptions>(parsed);
    EXPECT_FALSE(options.sources.listSystemDisks);
    EXPECT_EQ(options.mode, lumbra::AccessMode::F);
    EXPECT_EQ(options.sources.images, (std::vector<std::string>{"second.img", "first.img", "third disk.img"}));
}

// In the F mode the images become the BIOS libraries' drives, as on the command line program,
// unless LUMBRA_BIOS_DISKS names their disks already.
TEST(DesktopCommandLine, TheImagesAreTheBiosDrivesInTheFMode) {
    unsetenv("LUMBRA_BIOS_DISKS");
    const auto imagesOf = [](const char* mode) {
        const auto parsed = lumbra::ParseDesktopCommandLine({"lumbra-nss", "--image", "disk.img", mode});
        return std::get<lumbra::DesktopOptions>(parsed).sources.imagesAreBiosDrives;
    };
    EXPECT_TRUE(imagesOf("--access-mode=F"));
    EXPECT_FALSE(imagesOf("--access-mode=N"));
    setenv("LUMBRA_BIOS_DISKS", "disk.img", 1);
    EXPECT_FALSE(imagesOf("--access-mode=F"));
    unsetenv("LUMBRA_BIOS_DISKS");
}

// The same image twice is two rows: a map belongs to the --image it follows, by its place.
TEST(DesktopCommandLine, AMapBelongsToTheImageItFollows) {
    const std::string map = std::filesystem::temp_directory_path() / ("lumbra_desktop_map_" + std::to_string(getpid()));
    std::ofstream(map) << "0x0 +\n0x0 0x200 -\n";
    const QString path = QString::fromStdString(map);
    const auto first = lumbra::ParseDesktopCommandLine(
        {"lumbra-nss", "--image", "d.img", "--mapfile", path, "--image", "d.img"});
    const auto second = lumbra::ParseDesktopCommandLine(
        {"lumbra-nss", "--image", "d.img", "--image", "d.img", "--mapfile", path});
    std::filesystem::remove(map);
    ASSERT_TRUE(std::holds_alternative<lumbra::DesktopOptions>(first));
    ASSERT_TRUE(std::holds_alternative<lumbra::DesktopOptions>(second));
    const auto& firstMaps = std::get<lumbra::DesktopOptions>(first).sources.rescueMaps;
    const auto& secondMaps = std::get<lumbra::DesktopOptions>(second).sources.rescueMaps;
    ASSERT_EQ(firstMaps.size(), 1u);
    EXPECT_EQ(firstMaps[0].first, 0u);
    ASSERT_EQ(secondMaps.size(), 1u);
    EXPECT_EQ(secondMaps[0].first, 1u);
}

// A map that cannot be read or parsed leaves its image out with a message for the window; the
// other images, and their good maps, stay.
TEST(DesktopCommandLine, AnImageWhoseMapCannotBeUsedIsLeftOutWithAMessage) {
    lumbra::test::ScratchFolder scratch("desktop_maps");
    const std::string good = scratch.file("good.map");
    const std::string bad = scratch.file("bad.map");
    const std::string missing = scratch.file("missing.map");
    std::ofstream(good) << "0x00000000     +\n0x00000000  0x00000400  +\n";
    std::ofstream(bad) << "0x00000000     +\n0x00000000  0x00000400\n";
    const auto parsed = lumbra::ParseDesktopCommandLine(
        {"lumbra-nss", "--no-drives", "--image", "a.img", "--mapfile", QString::fromStdString(bad), "--image", "b.img",
         "--mapfile", QString::fromStdString(good), "--image", "c.img", "--mapfile", QString::fromStdString(missing),
         "d.img"});
    ASSERT_TRUE(std::holds_alternative<lumbra::DesktopOptions>(parsed));
    const auto& options = std::get<lumbra::DesktopOptions>(parsed);
    EXPECT_EQ(options.sources.images, (std::vector<std::string>{"b.img", "d.img"}));
    ASSERT_EQ(options.sources.rescueMaps.size(), 1u);
    EXPECT_EQ(options.sources.rescueMaps[0].first, 0u);
    EXPECT_EQ(options.sources.rescueMapFiles, std::vector<std::string>{good});
    EXPECT_EQ(options.problems,
              (std::vector<std::string>{
                  "The disk image a.img is left out: rescue map " + bad + " line 2: an area line holds a position, a size and a status",
                  "The disk image c.img is left out: rescue map " + missing + ": No such file or directory"}));
}

TEST(DesktopCommandLine, AMapBeforeAnyImageIsStillABadCommandLine) {
    const auto parsed = lumbra::ParseDesktopCommandLine({"lumbra-nss", "--mapfile", "x.map", "--image", "a.img"});
    ASSERT_TRUE(std::holds_alternative<int>(parsed));
    EXPECT_EQ(std::get<int>(parsed), 2);
}

}  // namespace
