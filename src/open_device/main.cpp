// lumbra-nss-open-device: opens disks for the program that started it through pkexec. This is the
// only code of the program that runs with administrator rights, so it does one thing: for each
// request on its standard input (a socket the program made) it opens a block device under /dev
// read-only and passes the descriptor back. It never opens anything for writing, reads no
// options, and of its environment only PKEXEC_UID, for the log. It ends when the socket closes.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <syslog.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "disk/device_request.h"

namespace {

using lumbra::device_request::kMaxAnswerLength;
using lumbra::device_request::kMaxPathLength;

struct Answer {
    int error = 0;  // 0 when fd is open
    std::string text;
    int fd = -1;
};

Answer Refusal(int error, const std::string& reason) { return {error, reason, -1}; }

Answer OpenRequested(const char* data, size_t length, bool truncated) {
    if (truncated || length > kMaxPathLength) return Refusal(ENAMETOOLONG, "the path is too long");
    if (std::memchr(data, '\0', length)) return Refusal(EINVAL, "the path holds a NUL byte");
    const std::string path(data, length);
    if (path.front() != '/') return Refusal(EINVAL, "the path is not absolute");
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved)) return Refusal(errno, std::string("cannot resolve the path: ") + std::strerror(errno));
    if (std::strncmp(resolved, "/dev/", 5) != 0) return Refusal(EACCES, "the path is not under /dev");
    // Opening a character device can act on it (a tape rewinds when closed, a FIFO blocks), so
    // what is plainly no block device is not opened at all. The check that decides is the one
    // on the opened descriptor below: the name may point elsewhere by then.
    struct stat named {};
    if (stat(resolved, &named) != 0) return Refusal(errno, std::strerror(errno));
    if (!S_ISBLK(named.st_mode)) return Refusal(ENOTBLK, "not a block device");
    const int fd = open(resolved, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return Refusal(errno, std::strerror(errno));
    struct stat opened {};
    if (fstat(fd, &opened) != 0 || !S_ISBLK(opened.st_mode)) {
        close(fd);
        return Refusal(ENOTBLK, "not a block device");
    }
    // O_NONBLOCK only kept the open from waiting; the program's reads wait for the disk.
    if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        const int error = errno;
        close(fd);
        return Refusal(error, std::strerror(error));
    }
    return {0, std::string("opened ") + resolved, fd};
}

bool Send(const Answer& answer) {
    std::string text = std::to_string(answer.error) + " " + answer.text;
    if (text.size() > kMaxAnswerLength) text.resize(kMaxAnswerLength);
    struct iovec part {text.data(), text.size()};
    struct msghdr message {};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    alignas(struct cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    if (answer.fd >= 0) {
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        struct cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = SOL_SOCKET;
        header->cmsg_type = SCM_RIGHTS;
        header->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(header), &answer.fd, sizeof(int));
    }
    while (sendmsg(STDIN_FILENO, &message, MSG_NOSIGNAL) < 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

// The user pkexec acted for, as a number; "unknown" when pkexec did not say.
std::string RequestingUser() {
    const char* uid = std::getenv("PKEXEC_UID");
    if (!uid || !*uid || std::strlen(uid) > 10 || std::strspn(uid, "0123456789") != std::strlen(uid)) return "unknown";
    return uid;
}

}  // namespace

int main() {
    int type = 0;
    socklen_t size = sizeof type;
    if (getsockopt(STDIN_FILENO, SOL_SOCKET, SO_TYPE, &type, &size) != 0 || type != SOCK_SEQPACKET) {
        std::fputs("lumbra-nss-open-device: standard input must be the program's socket\n", stderr);
        return 2;
    }
    openlog("lumbra-nss-open-device", LOG_PID, LOG_AUTHPRIV);
    const std::string user = RequestingUser();
    char request[kMaxPathLength + 1];
    for (;;) {
        struct iovec part {request, sizeof request};
        struct msghdr message {};
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        // No room for control data: the kernel closes any descriptor sent along with a request.
        const ssize_t got = recvmsg(STDIN_FILENO, &message, 0);
        if (got == 0) return 0;
        if (got < 0) {
            if (errno == EINTR) continue;
            return 1;
        }
        const Answer answer = OpenRequested(request, static_cast<size_t>(got), (message.msg_flags & MSG_TRUNC) != 0);
        if (answer.fd >= 0) syslog(LOG_NOTICE, "user %s: %s read-only", user.c_str(), answer.text.c_str());
        else syslog(LOG_WARNING, "user %s: refused: %s", user.c_str(), answer.text.c_str());
        const bool sent = Send(answer);
        if (answer.fd >= 0) close(answer.fd);
        if (!sent) return 1;
    }
}
