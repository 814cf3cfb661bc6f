#include "support/loop_device.h"

#include <cstdlib>

#include "support/loop_mount.h"

namespace lumbra::test {

LoopDevice::LoopDevice(const std::string& file, bool readOnly, uint64_t offset, uint64_t bytes) {
    std::string command = "losetup -f --show";
    if (readOnly) command += " -r";
    if (offset != 0) command += " -o " + std::to_string(offset);
    if (bytes != 0) command += " --sizelimit " + std::to_string(bytes);
    device_ = ShellOutput(command + " '" + file + "' 2>/dev/null");
    if (device_.empty()) why_ = "losetup could not attach a loop device here";
}

LoopDevice::~LoopDevice() {
    if (!device_.empty()) std::system(("losetup -d " + device_).c_str());
}

}  // namespace lumbra::test
