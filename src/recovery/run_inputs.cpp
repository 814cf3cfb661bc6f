#include "recovery/run_inputs.h"

#include <filesystem>

#include "disk/loop_backing.h"

namespace lumbra {

void RunInputs::add(const std::string& path) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) return;
    const bool block = S_ISBLK(status.st_mode);
    inputs_.push_back({path, status.st_dev, status.st_ino, block ? status.st_rdev : 0});
    if (!block) return;
    const auto backing = LoopBackingOf(status.st_rdev, sysRoot_);
    if (!backing) return;
    const std::string name = backing->path + ", the image behind " + path;
    for (const auto& file : {backing->held, backing->named})
        if (file) inputs_.push_back({name, file->device, file->inode, 0});
}

void RunInputs::readDisk(const std::string& path, const std::string& sysRoot) {
    sysRoot_ = sysRoot;
    add(path);
    const auto identity = IdentifySource(path);
    const std::lock_guard<std::mutex> lock(answersLock_);
    answers_.clear();
    diskRead_.reset();
    if (identity) diskRead_ = DiskRead{path, *identity};
}

std::optional<std::string> RunInputs::inputIs(const struct stat& status) const {
    const dev_t blockDevice = S_ISBLK(status.st_mode) ? status.st_rdev : 0;
    for (const Input& input : inputs_) {
        if (input.device == status.st_dev && input.inode == status.st_ino) return input.path;
        if (blockDevice != 0 && input.blockDevice == blockDevice) return input.path;
    }
    if (blockDevice == 0) return std::nullopt;
    // Another loop device over an image the run reads is that image.
    const auto backing = LoopBackingOf(blockDevice, sysRoot_);
    if (!backing) return std::nullopt;
    for (const Input& input : inputs_)
        if (backing->isFile({input.device, input.inode})) return input.path;
    return std::nullopt;
}

std::optional<std::string> RunInputs::onDiskRead(dev_t fileSystem) const {
    const std::lock_guard<std::mutex> lock(answersLock_);
    if (!diskRead_) return std::nullopt;
    auto answer = answers_.find(fileSystem);
    if (answer == answers_.end())
        answer = answers_.emplace(fileSystem, DeviceOnSource(fileSystem, diskRead_->identity, sysRoot_)).first;
    if (!answer->second) return std::nullopt;
    return "on a file system of " + diskRead_->path;
}

std::optional<std::string> RunInputs::inputAt(const std::string& path) const {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0)
        if (auto input = inputIs(status)) return input;
    // A new file goes on the file system of its folder, which a mount there may make another.
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    const auto fileSystem = NearestFileSystem(folder.empty() ? "." : folder.string());
    return fileSystem ? onDiskRead(*fileSystem) : std::nullopt;
}

std::optional<std::string> RunInputs::inputOpenAs(int fd) const {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !(S_ISREG(status.st_mode) || S_ISBLK(status.st_mode))) return std::nullopt;
    return inputIs(status);
}

std::string ReplacesInputText(const std::string& target, const std::string& input) {
    return "refusing to write " + target + ": it is " + input + ", which this run reads";
}

}  // namespace lumbra
