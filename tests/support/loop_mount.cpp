#include "support/loop_mount.h"

#include <cstdio>
#include <cstdlib>

namespace lumbra::test {

std::string ShellOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return "";
    char chunk[256];
    while (fgets(chunk, sizeof chunk, pipe)) output += chunk;
    if (pclose(pipe) != 0) return "";
    while (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
}

LoopMount::LoopMount(const std::string& file, uint64_t offset, uint64_t bytes, const std::string& mountPoint)
    : mountPoint_(mountPoint) {
    const std::string quoted = "'" + file + "'";
    const std::string kib = std::to_string(bytes / 1024) + "k";
    if (ShellOutput("mke2fs -q -F -t ext2 -E offset=" + std::to_string(offset) + " " + quoted + " " + kib +
                    " >/dev/null 2>&1 && echo ok") != "ok") {
        why_ = "mke2fs is not available";
        return;
    }
    device_ = std::make_unique<LoopDevice>(file, false, offset, bytes);
    if (!device_->attached()) {
        why_ = device_->why();
        return;
    }
    mounted_ = ShellOutput("mount '" + device_->device() + "' '" + mountPoint + "' 2>/dev/null && echo ok") == "ok";
    if (!mounted_) why_ = "cannot mount here";
}

LoopMount::~LoopMount() {
    if (mounted_) std::system(("umount '" + mountPoint_ + "'").c_str());
}

}  // namespace lumbra::test
