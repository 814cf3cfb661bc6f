#pragma once
// The device-opening helper run by the test itself, on one end of a socket pair, as the program
// runs it through pkexec, and the requests the program sends it.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "disk/device_request.h"
#include "support/device_rights.h"

extern char** environ;

namespace lumbra::test {

struct Answer {
    int error = -1;
    std::string text;
    int fd = -1;
};

class OpenDeviceHelper : public ::testing::Test {
protected:
    void SetUp() override {
        const int end = Connect();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, end, STDIN_FILENO);
        std::string helper = test::OpenDeviceHelperPath();
        char* arguments[] = {helper.data(), nullptr};
        ASSERT_EQ(posix_spawn(&helper_, helper.c_str(), &actions, nullptr, arguments, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(end);
    }
    void TearDown() override {
        if (socket_ >= 0) close(socket_);
        if (helper_ > 0) waitpid(helper_, nullptr, 0);
    }

    // Makes the socket pair; the helper's end, which the caller closes once the helper has it.
    int Connect() {
        int ends[2];
        if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
            ADD_FAILURE() << "no socket pair";
            return -1;
        }
        socket_ = ends[0];
        return ends[1];
    }

    Answer Ask(const std::string& request) {
        EXPECT_EQ(send(socket_, request.data(), request.size(), MSG_NOSIGNAL), static_cast<ssize_t>(request.size()));
        char text[device_request::kMaxAnswerLength + 1];
        struct iovec part {text, device_request::kMaxAnswerLength};
        alignas(struct cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
        struct msghdr message {};
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t got = recvmsg(socket_, &message, MSG_CMSG_CLOEXEC);
        Answer answer;
        if (got <= 0) return answer;
        text[got] = '\0';
        answer.error = std::atoi(text);
        const char* space = std::strchr(text, ' ');
        answer.text = space ? space + 1 : "";
        if (struct cmsghdr* header = CMSG_FIRSTHDR(&message); header && header->cmsg_type == SCM_RIGHTS)
            std::memcpy(&answer.fd, CMSG_DATA(header), sizeof(int));
        return answer;
    }

    // How the helper ended: its exit status, or -1.
    int EndAndWait() {
        close(socket_);
        socket_ = -1;
        int status = 0;
        waitpid(helper_, &status, 0);
        helper_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int socket_ = -1;
    pid_t helper_ = -1;
};

}  // namespace lumbra::test
