#pragma once
// What the program and the device-opening helper say to each other over the socket that is the
// helper's standard input. The socket keeps message bounds (SOCK_SEQPACKET): a request is one
// message holding an absolute path, without a terminator; the answer is one message "0 <text>"
// with the opened descriptor attached (SCM_RIGHTS), or "<errno> <reason>" without one. An empty
// message cannot be told from the end of the connection, so no request is ever empty.
#include <cstddef>

namespace lumbra::device_request {

// The longest path a request may hold: PATH_MAX without its terminating NUL.
constexpr size_t kMaxPathLength = 4095;
// The longest answer, reason included.
constexpr size_t kMaxAnswerLength = 512;
// The helper's file name, in the program's own folder.
constexpr const char* kHelperName = "lumbra-nss-open-device";

}  // namespace lumbra::device_request
