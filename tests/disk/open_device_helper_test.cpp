#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "open_device_helper_fixture.h"
#include "support/nss_image_builder.h"
#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace lumbra {
namespace {

using test::Answer;
using test::OpenDeviceHelper;
namespace fs = std::filesystem;

TEST_F(OpenDeviceHelper, ReadOnlyLoopDeviceComesBackAsAReadOnlyDescriptorOfTheImage) {
    test::ScratchFolder folder("helper_loop");
    const std::string image = folder.file("disk.img");
    test::NssImageBuilder().pool("HELPED", {.headerSector = 2048}).build().writeTo(image);
    test::RootOnlyLoopDevice loop(image);
    if (loop.device().empty()) GTEST_SKIP() << loop.why();

    const Answer answer = Ask(loop.device());
    ASSERT_GE(answer.fd, 0) << answer.error << " " << answer.text;
    EXPECT_EQ(answer.error, 0);
    EXPECT_EQ(answer.text, "opened " + loop.device());
    EXPECT_EQ(fcntl(answer.fd, F_GETFL) & (O_ACCMODE | O_NONBLOCK), O_RDONLY);
    EXPECT_NE(fcntl(answer.fd, F_GETFD) & FD_CLOEXEC, 0);
    struct stat info {};
    ASSERT_EQ(fstat(answer.fd, &info), 0);
    EXPECT_TRUE(S_ISBLK(info.st_mode));
    const std::vector<uint8_t> expected = test::ReadWholeFile(image);
    std::vector<uint8_t> read(expected.size());
    ASSERT_EQ(pread(answer.fd, read.data(), read.size(), 0), static_cast<ssize_t>(read.size()));
    EXPECT_TRUE(read == expected);
    EXPECT_EQ(write(answer.fd, "x", 1), -1);
    close(answer.fd);

    // The same connection serves the next request.
    const Answer again = Ask(loop.device());
    EXPECT_GE(again.fd, 0);
    close(again.fd);
    EXPECT_EQ(EndAndWait(), 0);
}

TEST_F(OpenDeviceHelper, RefusesEverythingButABlockDeviceUnderDevWithItsReason) {
    test::ScratchFolder folder("helper_refusals");
    const std::string outside = folder.file("plain.img");
    std::ofstream(outside) << std::string(512, 'x');
    // Files of ours under /dev, where a writable memory file system usually lies.
    const fs::path shared = "/dev/shm";
    const bool haveShm = fs::is_directory(shared) && access(shared.c_str(), W_OK) == 0;
    const fs::path plainUnderDev = shared / ("lumbra-helper-" + std::to_string(getpid()));
    const fs::path linkUnderDev = shared / ("lumbra-helper-link-" + std::to_string(getpid()));
    if (haveShm) {
        std::ofstream(plainUnderDev) << std::string(512, 'x');
        fs::create_symlink(plainUnderDev, linkUnderDev);
    }
    struct Case {
        std::string request;
        int error;
        std::string text;
    };
    std::vector<Case> cases = {
        {"/dev/null", ENOTBLK, "not a block device"},
        {"/dev", EACCES, "the path is not under /dev"},
        {"/dev/", EACCES, "the path is not under /dev"},
        {"dev/null", EINVAL, "the path is not absolute"},
        {outside, EACCES, "the path is not under /dev"},
        {"/dev/../" + outside.substr(1), EACCES, "the path is not under /dev"},
        {"/dev/no-such-device", ENOENT, "cannot resolve the path: No such file or directory"},
        {std::string("/dev/null\0/dev/loop0", 19), EINVAL, "the path holds a NUL byte"},
        {"/" + std::string(device_request::kMaxPathLength, 'a'), ENAMETOOLONG, "the path is too long"},
        {"/" + std::string(3 * device_request::kMaxPathLength, 'a'), ENAMETOOLONG, "the path is too long"},
        // The longest request is read whole; the system itself finds it too long to resolve.
        {"/" + std::string(device_request::kMaxPathLength - 1, 'a'), ENAMETOOLONG,
         "cannot resolve the path: File name too long"},
    };
    if (haveShm) {
        cases.push_back({plainUnderDev.string(), ENOTBLK, "not a block device"});
        cases.push_back({linkUnderDev.string(), ENOTBLK, "not a block device"});
        cases.push_back({shared.string(), ENOTBLK, "not a block device"});
    }
    for (const Case& c : cases) {
        const Answer answer = Ask(c.request);
        EXPECT_EQ(answer.fd, -1) << c.request.substr(0, 40);
        EXPECT_EQ(answer.error, c.error) << c.request.substr(0, 40);
        EXPECT_EQ(answer.text, c.text) << c.request.substr(0, 40);
    }
    if (haveShm) {
        fs::remove(linkUnderDev);
        fs::remove(plainUnderDev);
    }
    EXPECT_EQ(EndAndWait(), 0);
}

TEST_F(OpenDeviceHelper, EndsWhenTheProgramClosesItsEnd) { EXPECT_EQ(EndAndWait(), 0); }

TEST(OpenDeviceHelperInput, RefusesToRunOnAnythingButTheProgramsSocket) {
    std::string helper = test::OpenDeviceHelperPath();
    const std::string command = "'" + helper + "' </dev/null 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
}  // namespace lumbra
