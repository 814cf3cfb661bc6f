#include "platform/application_directory.h"

#include <filesystem>

namespace lumbra {

namespace {
std::string withSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder.push_back('/');
    return folder;
}
}  // namespace

std::string CurrentApplicationDirectory() {
    std::error_code error;
    const auto current = std::filesystem::current_path(error);
    return withSeparator(error ? std::string(".") : current.string());
}

std::string ApplicationDirectoryFrom(std::string directory) { return withSeparator(std::move(directory)); }

std::string ExecutableDirectory() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return withSeparator(error ? std::string(".") : self.parent_path().string());
}

}  // namespace lumbra
