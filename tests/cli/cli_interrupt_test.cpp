// Ctrl-C in a long scan, mount or extraction: the program stops the work, prints what was
// found before it and ends with 130; a stopped mount is never passed off as a whole volume.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "cli_recovery_fixture.h"
#include "support/nss_image_builder.h"
#include "support/scratch_folder.h"

namespace lumbra::test {
namespace {

using namespace std::chrono_literals;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Starts the program with stdout and stderr going to files; its process id.
pid_t Start(const std::vector<std::string>& arguments, const std::string& out, const std::string& err) {
    const std::string program = std::string(LUMBRA_BIN_DIR) + "/lumbra-nss-cli";
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (!freopen(out.c_str(), "w", stdout) || !freopen(err.c_str(), "w", stderr)) _exit(127);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

// Waits up to `limit` for the process; its exit status, or -1 when it still runs.
int WaitFor(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(20ms);
    }
    return -1;
}

// Runs the program, presses Ctrl-C after `delay` and waits for its end; its exit status.
int InterruptAfter(const std::vector<std::string>& arguments, const ScratchFolder& folder,
                   std::chrono::milliseconds delay) {
    const pid_t pid = Start(arguments, folder.file("out.txt"), folder.file("err.txt"));
    if (pid <= 0) return -2;
    std::this_thread::sleep_for(delay);
    if (WaitFor(pid, 1ms) != -1) {
        ADD_FAILURE() << "the program ended before Ctrl-C: " << ReadFile(folder.file("err.txt"));
        return -1;
    }
    kill(pid, SIGINT);
    const int status = WaitFor(pid, 30s);
    if (status == -1) kill(pid, SIGKILL);
    return status;
}

// A pool of 64 GiB whose volume "DATA" sits at its start: a pool-based mount reads one sector
// of every block, so it finds the files at once and then reads empty blocks for minutes.
std::string LongPoolImage(const ScratchFolder& folder) {
    const std::string disk = folder.file("disk.img");
    VolumePlan data{.name = "DATA"};
    const uint64_t docs = data.addFolder("DOCS");
    data.addFile("report.txt", docs, 5000);
    data.addFile("notes.txt", 0, 700);
    PoolPlan pool{.name = "BIG", .segments = {{.headerSector = 2048, .extent = 134217728}}, .volumes = {data}};
    NssImageBuilder().pool(pool).build().writeTo(disk);
    return disk;
}

TEST(CliInterrupt, CtrlCDuringAMountEndsWith130AndWritesNoPartialResultAsWhole) {
    ScratchFolder folder("cli_interrupt_mount");
    const std::string disk = LongPoolImage(folder);
    const std::vector<std::string> source = {"--drive", disk, "--pool", "0", "--pool-based"};
    auto with = [&](std::vector<std::string> command) {
        command.insert(command.begin(), "--no-drives");
        command.insert(command.end(), source.begin(), source.end());
        return command;
    };

    // find prints what the stopped mount found, and says that it was stopped.
    ASSERT_EQ(InterruptAfter(with({"find", "*"}), folder, 1500ms), 130) << ReadFile(folder.file("err.txt"));
    EXPECT_NE(ReadFile(folder.file("out.txt")).find("report.txt"), std::string::npos)
        << ReadFile(folder.file("out.txt")) << ReadFile(folder.file("err.txt"));
    EXPECT_NE(ReadFile(folder.file("err.txt")).find("stopped by Ctrl-C"), std::string::npos);

    // snapshot-save writes nothing unless --partial asks for the part found.
    const std::string snapshot = folder.file("PART.QVDX");
    ASSERT_EQ(InterruptAfter(with({"snapshot-save", snapshot}), folder, 1500ms), 130);
    EXPECT_FALSE(std::filesystem::exists(snapshot));
    EXPECT_NE(ReadFile(folder.file("err.txt")).find("no snapshot was written"), std::string::npos);
    ASSERT_EQ(InterruptAfter(with({"snapshot-save", snapshot, "--partial"}), folder, 1500ms), 130);
    EXPECT_TRUE(std::filesystem::exists(snapshot));
    const std::string partialLine =
        "Partial: the mount was stopped before it ended; the snapshot holds only what it found until then\n";
    EXPECT_EQ(ReadFile(folder.file("out.txt")), "Saved " + snapshot + "\n" + partialLine);

    // The stopped mount and the snapshot of it say that they are partial, wherever they are read.
    ASSERT_EQ(InterruptAfter(with({"list", "--json"}), folder, 1500ms), 130);
    EXPECT_NE(ReadFile(folder.file("out.txt")).find(",\"complete\":false}"), std::string::npos)
        << ReadFile(folder.file("out.txt"));
    const CliRun shown = RunCli({"snapshot-show", snapshot});
    EXPECT_NE(shown.out.find(partialLine), std::string::npos) << shown.out;
    EXPECT_NE(RunCli({"snapshot-show", snapshot, "--json"}).out.find("\"complete\":false"), std::string::npos);
    const CliRun listed = RunCli({"--no-drives", "--image", disk, "list", "--json", "--snapshot", snapshot});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find(",\"complete\":false}"), std::string::npos) << listed.out;
    EXPECT_NE(listed.err.find("warning: snapshot " + snapshot +
                              " is partial: the mount it was saved from was stopped before it ended\n"),
              std::string::npos)
        << listed.err;

    // extract copies nothing out of a volume whose mount was stopped.
    const std::string out = folder.file("out");
    ASSERT_EQ(InterruptAfter(with({"extract", "--out", out}), folder, 1500ms), 130);
    EXPECT_TRUE(!std::filesystem::exists(out) || std::filesystem::is_empty(out));
    EXPECT_NE(ReadFile(folder.file("err.txt")).find("nothing was extracted"), std::string::npos);
}

TEST(CliInterrupt, CtrlCDuringAnExtractionStopsTheCopyAndEndsWith130) {
    ScratchFolder folder("cli_interrupt_extract");
    const std::string disk = folder.file("disk.img");
    // One record of 4 GiB whose blocks are unwritten (zeros): the copy runs for a long while.
    VolumePlan data{.name = "DATA"};
    FilePlan huge{.name = "huge.bin", .size = 4096};
    huge.tweaks.blockCountField = 1u << 20;
    huge.tweaks.edits = {{24, {0, 0, 0, 0, 1, 0, 0, 0}}};
    data.files = {huge};
    PoolPlan pool{.name = "BIG", .segments = {{.headerSector = 2048, .extent = 16777216}}, .volumes = {data}};
    NssImageBuilder().pool(pool).partitionTableEntry(2048).build().writeTo(disk);
    const std::string out = folder.file("out");
    const int status = InterruptAfter({"--no-drives", "extract", "--drive", disk, "--pool", "0", "--volume", "0",
                                       "--out", out, "--json"},
                                      folder, 2500ms);
    ASSERT_EQ(status, 130) << ReadFile(folder.file("err.txt"));
    EXPECT_NE(ReadFile(folder.file("out.txt")).find("\"stopped\":true"), std::string::npos) << ReadFile(folder.file("out.txt"));
    ASSERT_TRUE(std::filesystem::exists(out + "/huge.bin"));
    EXPECT_LT(std::filesystem::file_size(out + "/huge.bin"), 1ull << 32);
}

// Ctrl-C while a large file is being written, then --resume into the same folder: every file
// ends as a run without Ctrl-C writes it, and the report names the files found whole.
TEST(CliInterrupt, ResumeAfterCtrlCEndsWithEveryFileWhole) {
    ScratchFolder folder("cli_interrupt_resume");
    const std::string disk = folder.file("disk.img");
    VolumePlan data{.name = "DATA"};
    data.addFile("a.txt", 0, 5000);
    FilePlan large{.name = "large.bin", .size = 4096};
    large.tweaks.blockCountField = 1u << 15;
    large.tweaks.edits = {{24, {0, 0, 0, 8, 0, 0, 0, 0}}};  // 128 MiB
    data.files.push_back(large);
    data.addFile("z.txt", 0, 9000);
    PoolPlan pool{.name = "BIG", .segments = {{.headerSector = 2048, .extent = 1048576}}, .volumes = {data}};
    NssImageBuilder().pool(pool).partitionTableEntry(2048).build().writeTo(disk);
    const std::vector<std::string> source = {"--no-drives", "extract", "--drive", disk, "--pool", "0", "--volume", "0"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), source.begin(), source.end());
        return more;
    };
    const std::string out = folder.file("out");
    const pid_t pid = Start(with({"--out", out}), folder.file("out.txt"), folder.file("err.txt"));
    ASSERT_GT(pid, 0);
    // Ctrl-C as soon as the large file is begun; its copy takes far longer than that.
    while (!std::filesystem::exists(out + "/large.bin") && WaitFor(pid, 1ms) == -1) {
    }
    kill(pid, SIGINT);
    const int status = WaitFor(pid, 30s);
    if (status == -1) kill(pid, SIGKILL);
    ASSERT_EQ(status, 130) << ReadFile(folder.file("err.txt"));
    EXPECT_NE(ReadFile(folder.file("err.txt")).find("cut short by Ctrl-C: " + out + "/large.bin"), std::string::npos)
        << ReadFile(folder.file("err.txt"));
    ASSERT_LT(std::filesystem::file_size(out + "/large.bin"), 128u << 20);
    const bool aWasWhole = std::filesystem::exists(out + "/a.txt") && std::filesystem::file_size(out + "/a.txt") == 5000;

    const CliRun resumed = RunCli(with({"--out", out, "--resume", "--report", folder.file("resume.xml")}));
    ASSERT_EQ(resumed.exitCode, 0) << resumed.err;
    const std::string clean = folder.file("clean");
    ASSERT_EQ(RunCli(with({"--out", clean, "--no-report"})).exitCode, 0);
    auto contents = FolderContents(out);
    contents.erase("lumbra-report.xml");
    contents.erase("lumbra-report.csv");
    EXPECT_TRUE(contents == FolderContents(clean));
    EXPECT_EQ(contents.size(), 3u);
    const std::string report = ReadFile(folder.file("resume.csv"));
    EXPECT_NE(report.find("\\large.bin," + out + "/large.bin,134217728,"), std::string::npos) << report;
    EXPECT_EQ(report.find(",already there\r\n") != std::string::npos, aWasWhole) << report;
}

TEST(CliInterrupt, CtrlCStopsAScanAndPrintsThePoolsFoundBeforeIt) {
    ScratchFolder folder("cli_interrupt");
    const std::string disk = folder.file("disk.img");
    PoolPlan data{.name = "DATA", .segments = {{.headerSector = 2048}}};
    data.volumes = {VolumePlan{.name = "SYS"}};
    NssImageBuilder().pool(data).partitionTableEntry(2048).build().writeTo(disk);
    // 64 GiB of unwritten sectors behind the pool: a scan of one sector per read takes minutes.
    std::filesystem::resize_file(disk, 64ull << 30);

    const pid_t pid = Start({"--no-drives", "--sectors-per-read", "1", "pools", "--drive", disk, "--scan", "0",
                             "4294967295", "--json"},
                            folder.file("out.txt"), folder.file("err.txt"));
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(WaitFor(pid, 1ms), -1) << "the scan ended before Ctrl-C: " << ReadFile(folder.file("err.txt"));
    kill(pid, SIGINT);
    const int status = WaitFor(pid, 20s);
    if (status == -1) kill(pid, SIGKILL);
    ASSERT_EQ(status, 130) << ReadFile(folder.file("err.txt"));
    EXPECT_NE(ReadFile(folder.file("out.txt")).find("{\"row\":0,\"name\":\"DATA\""), std::string::npos)
        << ReadFile(folder.file("out.txt"));
    EXPECT_NE(ReadFile(folder.file("out.txt")).find(",\"complete\":false}"), std::string::npos)
        << ReadFile(folder.file("out.txt"));
    EXPECT_NE(ReadFile(folder.file("err.txt")).find("stopped by Ctrl-C"), std::string::npos);
}

}  // namespace
}  // namespace lumbra::test
