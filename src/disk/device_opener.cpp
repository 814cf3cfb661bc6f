#include "disk/device_opener.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "disk/device_request.h"

extern char** environ;

namespace lumbra {

namespace {

const char* const kNoRightsHint = "; run with sudo where no authentication agent can ask for them";

DeviceOpenResult Failed(OpenFailure kind, std::string error) { return {nullptr, kind, std::move(error)}; }

// Whether a program of this name can be started from the search path.
bool OnSearchPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "";
    while (!folders.empty()) {
        const size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        if (!folder.empty() && access((std::string(folder) + "/" + program).c_str(), X_OK) == 0) return true;
        folders = colon == std::string_view::npos ? std::string_view{} : folders.substr(colon + 1);
    }
    return false;
}

bool IsBlockDevice(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISBLK(info.st_mode);
}

}  // namespace

DeviceOpener::~DeviceOpener() { endHelper(nullptr); }

DeviceOpenResult DeviceOpener::Open(const std::string& path, RightsQuestion question) {
    std::string error;
    auto device = FileDevice::Open(path, &error);
    if (device) return {std::move(device), OpenFailure::None, {}};
    const int openError = errno;
    if ((openError != EACCES && openError != EPERM) || !IsBlockDevice(path) || geteuid() == 0)
        return Failed(OpenFailure::Error, error);
    std::lock_guard lock(mutex_);
    if (socket_ < 0 && !OnSearchPath("pkexec"))
        return Failed(OpenFailure::NoWayToAsk,
                      "pkexec is not installed, so administrator rights cannot be asked for; run with sudo or join "
                      "the disk group");
    if (socket_ < 0 && question == RightsQuestion::NotNow)
        return Failed(OpenFailure::RightsNeeded, "administrator rights are needed");
    return openThroughHelper(path);
}

DeviceOpenResult DeviceOpener::openThroughHelper(const std::string& path) {
    if (path.empty() || path.size() > device_request::kMaxPathLength)
        return Failed(OpenFailure::Error, "the path is too long");
    DeviceOpenResult result;
    if (socket_ < 0 && !startHelper(result)) return result;
    if (send(socket_, path.data(), path.size(), MSG_NOSIGNAL) < 0) {
        endHelper(&result);
        return result;
    }
    char answer[device_request::kMaxAnswerLength + 1];
    struct iovec part {answer, device_request::kMaxAnswerLength};
    alignas(struct cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    struct msghdr message {};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    ssize_t got;
    do got = recvmsg(socket_, &message, MSG_CMSG_CLOEXEC);
    while (got < 0 && errno == EINTR);
    if (got <= 0) {
        endHelper(&result);
        return result;
    }
    int fd = -1;
    if (struct cmsghdr* header = CMSG_FIRSTHDR(&message);
        header && header->cmsg_level == SOL_SOCKET && header->cmsg_type == SCM_RIGHTS)
        std::memcpy(&fd, CMSG_DATA(header), sizeof fd);
    answer[got] = '\0';
    if (fd >= 0) return {FileDevice::Adopt(fd), OpenFailure::None, {}};
    const char* reason = std::strchr(answer, ' ');
    return Failed(OpenFailure::Error, reason ? reason + 1 : answer);
}

bool DeviceOpener::startHelper(DeviceOpenResult& failure) {
    if (helperPath_.empty() || access(helperPath_.c_str(), X_OK) != 0) {
        failure = Failed(OpenFailure::Error, "the device helper " + helperPath_ + " is missing; run with sudo");
        return false;
    }
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
        failure = Failed(OpenFailure::Error, std::strerror(errno));
        return false;
    }
    // The helper's end becomes its standard input (dup2 drops close-on-exec there only); its
    // standard output goes to our standard error, so that nothing it or pkexec prints mixes
    // with what the program writes.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    std::string program = "pkexec";
    char* arguments[] = {program.data(), helperPath_.data(), nullptr};
    const int spawned = posix_spawnp(&helper_, "pkexec", &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (spawned != 0) {
        close(ends[0]);
        helper_ = -1;
        failure = Failed(OpenFailure::RightsNotGiven,
                         std::string("pkexec cannot be started (") + std::strerror(spawned) + ")" + kNoRightsHint);
        return false;
    }
    socket_ = ends[0];
    return true;
}

void DeviceOpener::endHelper(DeviceOpenResult* failure) {
    if (socket_ >= 0) close(socket_);
    socket_ = -1;
    if (helper_ < 0) return;
    int status = 0;
    while (waitpid(helper_, &status, 0) < 0 && errno == EINTR) {}
    helper_ = -1;
    if (!failure) return;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code == kPkexecDismissed || code == kPkexecNotAuthorised)
        *failure = Failed(OpenFailure::RightsNotGiven, "administrator rights were not given (pkexec ended with " +
                                                           std::to_string(code) + ")" + kNoRightsHint);
    else
        *failure = Failed(OpenFailure::Error, "the device helper ended without an answer");
}

}  // namespace lumbra
