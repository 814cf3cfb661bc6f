#include "recovery/run_inputs.h"

#include <sys/stat.h>

namespace lumbra {

void RunInputs::add(const std::string& path) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) return;
    inputs_.push_back({path, status.st_dev, status.st_ino, S_ISBLK(status.st_mode) ? status.st_rdev : 0});
}

std::optional<std::string> RunInputs::inputAt(const std::string& path) const {
    struct stat status {};
    if (inputs_.empty() || ::stat(path.c_str(), &status) != 0) return std::nullopt;
    const dev_t blockDevice = S_ISBLK(status.st_mode) ? status.st_rdev : 0;
    for (const Input& input : inputs_) {
        if (input.device == status.st_dev && input.inode == status.st_ino) return input.path;
        if (blockDevice != 0 && input.blockDevice == blockDevice) return input.path;
    }
    return std::nullopt;
}

std::string ReplacesInputText(const std::string& target, const std::string& input) {
    return "refusing to write " + target + ": it is " + input + ", which this run reads";
}

}  // namespace lumbra
