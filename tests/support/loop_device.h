#pragma once
// A loop device over a stretch of a file of the test's own (the tests run as root), detached
// with the object. When the machine has none to give, `why` says so and the test can skip.
#include <cstdint>
#include <string>

namespace lumbra::test {

class LoopDevice {
public:
    // `bytes` 0: from `offset` to the end of the file.
    explicit LoopDevice(const std::string& file, bool readOnly = true, uint64_t offset = 0, uint64_t bytes = 0);
    ~LoopDevice();
    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;

    bool attached() const { return !device_.empty(); }
    const std::string& device() const { return device_; }  // e.g. /dev/loop3
    const std::string& why() const { return why_; }

private:
    std::string device_;
    std::string why_;
};

}  // namespace lumbra::test
