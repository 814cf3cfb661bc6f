#pragma once
// A real file system made in a stretch of a file, attached to a loop device and mounted, for
// tests that need a mounted file system over a file of their own (the tests run as root). Each
// step needs the machine's tools and rights; when one fails, nothing is left attached or
// mounted and `why` says which step, so that the test can skip.
#include <cstdint>
#include <memory>
#include <string>

#include "support/loop_device.h"

namespace lumbra::test {

class LoopMount {
public:
    // Makes an ext2 file system of `bytes` at byte `offset` of `file` (which must be that long)
    // and mounts it on `mountPoint`, an existing empty folder.
    LoopMount(const std::string& file, uint64_t offset, uint64_t bytes, const std::string& mountPoint);
    ~LoopMount();
    LoopMount(const LoopMount&) = delete;
    LoopMount& operator=(const LoopMount&) = delete;

    bool mounted() const { return mounted_; }
    // The loop device, e.g. /dev/loop3, once mounted.
    std::string device() const { return device_ ? device_->device() : std::string(); }
    const std::string& why() const { return why_; }

private:
    std::string mountPoint_;
    std::unique_ptr<LoopDevice> device_;
    bool mounted_ = false;
    std::string why_;
};

// Runs a shell command; what it printed without the last line break, or "" when it failed.
std::string ShellOutput(const std::string& command);

}  // namespace lumbra::test
