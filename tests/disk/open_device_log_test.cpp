// The helper's lines in the system log: each open and each refusal, with the user pkexec acted
// for. The helper runs in a mount namespace of its own, where /dev holds only the disk and, as
// /dev/log, a socket of the test's; the rest of the machine sees none of it.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "open_device_helper_fixture.h"
#include "support/nss_image_builder.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;

// What the child did not manage before it became the helper.
struct SetupFailure {
    int step = 0;
    int error = 0;
};
const char* const kSteps[] = {"unshare", "making / private", "binding the disk aside", "mounting /dev",
                              "placing the disk", "placing the log socket", "running the helper"};
constexpr int kFirstMountStep = 2;

class OpenDeviceHelperLog : public test::OpenDeviceHelper {
protected:
    void SetUp() override {}

    // Starts the helper in its own mount namespace with PKEXEC_UID=uid, on a /dev that holds the
    // disk and the log socket only; "" when it runs, else why not and whether that is a reason
    // to skip.
    std::string StartInPrivateDev(const std::string& disk, const std::string& uid, bool& skip) {
        logSocket_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        struct sockaddr_un address {};
        address.sun_family = AF_UNIX;
        const std::string logPath = scratch_.file("log");
        if (logSocket_ < 0 || logPath.size() >= sizeof address.sun_path) return "no log socket";
        std::memcpy(address.sun_path, logPath.c_str(), logPath.size() + 1);
        if (bind(logSocket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return "no log socket";
        const std::string aside = scratch_.file("disk-node");
        std::ofstream(aside).flush();
        const std::string helper = test::OpenDeviceHelperPath();
        const std::string uidVariable = "PKEXEC_UID=" + uid;
        char* arguments[] = {const_cast<char*>(helper.c_str()), nullptr};
        char* environment[] = {const_cast<char*>(uidVariable.c_str()), nullptr};
        int report[2];
        if (pipe2(report, O_CLOEXEC) != 0) return "no pipe";
        const int end = Connect();
        helper_ = fork();
        if (helper_ == 0) {
            close(report[0]);
            const SetupFailure failure = BecomeHelper(disk, aside, logPath, end, arguments, environment);
            (void)!write(report[1], &failure, sizeof failure);
            _exit(1);
        }
        close(end);
        close(report[1]);
        if (helper_ < 0) {
            close(report[0]);
            return "no fork";
        }
        SetupFailure failure;
        const ssize_t got = read(report[0], &failure, sizeof failure);
        close(report[0]);
        if (got <= 0) return "";
        EndAndWait();
        skip = failure.step < kFirstMountStep || failure.error == EPERM || failure.error == EACCES;
        return std::string(kSteps[failure.step]) + " failed: " + std::strerror(failure.error);
    }

    // The next line the helper logged, or "" when none waits.
    std::string LoggedLine() {
        char line[1024];
        const ssize_t got = recv(logSocket_, line, sizeof line, MSG_DONTWAIT);
        return got > 0 ? std::string(line, static_cast<size_t>(got)) : "";
    }

    void TearDown() override {
        OpenDeviceHelper::TearDown();
        if (logSocket_ >= 0) close(logSocket_);
    }

    test::ScratchFolder scratch_{"helper_log"};
    int logSocket_ = -1;

private:
    // In the child: the namespace, the /dev of the test, then the helper; what failed if not.
    static SetupFailure BecomeHelper(const std::string& disk, const std::string& aside, const std::string& logPath,
                                     int end, char** arguments, char** environment) {
        int step = 0;
        auto failed = [&step] { return SetupFailure{step, errno}; };
        if (unshare(CLONE_NEWNS) != 0) return failed();
        ++step;
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return failed();
        ++step;
        if (mount(disk.c_str(), aside.c_str(), nullptr, MS_BIND, nullptr) != 0) return failed();
        ++step;
        if (mount("tmpfs", "/dev", "tmpfs", MS_NOSUID | MS_NOEXEC, "mode=0755") != 0) return failed();
        ++step;
        // A file of the tmpfs to bind each onto.
        auto place = [](const char* from, const char* to) {
            const int placeholder = open(to, O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
            if (placeholder < 0) return false;
            close(placeholder);
            return mount(from, to, nullptr, MS_BIND, nullptr) == 0;
        };
        if (!place(aside.c_str(), disk.c_str())) return failed();
        ++step;
        if (!place(logPath.c_str(), "/dev/log")) return failed();
        ++step;
        if (dup2(end, STDIN_FILENO) < 0) return failed();
        execve(arguments[0], arguments, environment);
        return failed();
    }
};

TEST_F(OpenDeviceHelperLog, EachOpenAndEachRefusalIsLoggedWithTheDeviceAndTheUser) {
    if (geteuid() != 0) GTEST_SKIP() << "a mount namespace of the helper's own needs root";
    const std::string image = scratch_.file("disk.img");
    test::NssImageBuilder().pool("LOGGED", {.headerSector = 2048}).build().writeTo(image);
    test::RootOnlyLoopDevice loop(image);
    if (loop.device().empty()) GTEST_SKIP() << loop.why();
    bool skip = false;
    const std::string why = StartInPrivateDev(loop.device(), "4321", skip);
    if (skip) GTEST_SKIP() << "no mount namespace of its own for the helper here: " << why;
    ASSERT_EQ(why, "");
    const std::string tag = "lumbra-nss-open-device[" + std::to_string(helper_) + "]: ";

    // The helper logs before it answers, so the line waits once the answer is here.
    const test::Answer opened = Ask(loop.device());
    ASSERT_GE(opened.fd, 0) << opened.error << " " << opened.text;
    close(opened.fd);
    const std::string openLine = LoggedLine();
    // The authorisation facility, notice.
    EXPECT_TRUE(openLine.starts_with("<" + std::to_string(LOG_AUTHPRIV | LOG_NOTICE) + ">")) << openLine;
    EXPECT_TRUE(openLine.ends_with(tag + "user 4321: opened " + loop.device() + " read-only")) << openLine;

    const test::Answer refused = Ask(scratch_.path().string());
    EXPECT_EQ(refused.fd, -1);
    const std::string refusalLine = LoggedLine();
    EXPECT_TRUE(refusalLine.starts_with("<" + std::to_string(LOG_AUTHPRIV | LOG_WARNING) + ">")) << refusalLine;
    EXPECT_TRUE(refusalLine.ends_with(tag + "user 4321: refused: the path is not under /dev")) << refusalLine;

    EXPECT_EQ(EndAndWait(), 0);
    EXPECT_EQ(LoggedLine(), "");
}

}  // namespace
}  // namespace lumbra
