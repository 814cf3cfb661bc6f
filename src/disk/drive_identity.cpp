#include "disk/drive_identity.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

namespace lumbra {

namespace fs = std::filesystem;

namespace {

// The first line of a sysfs file without surrounding blanks; at most a short line is kept.
std::string FirstLine(const fs::path& file) {
    constexpr size_t kMaxLine = 256;
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    if (line.size() > kMaxLine) line.resize(kMaxLine);
    const size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t\r\n") - first + 1);
}

std::string DeviceIdentity(const std::string& path, dev_t device, const std::string& sysRoot) {
    std::error_code error;
    const fs::path entry = fs::canonical(fs::path(sysRoot) / "dev" / "block" /
                                             (std::to_string(major(device)) + ":" + std::to_string(minor(device))),
                                         error);
    std::string serial;
    if (!error) {
        for (const char* file : {"device/serial", "device/wwid", "wwid", "loop/backing_file"}) {
            serial = FirstLine(entry / file);
            if (!serial.empty()) break;
        }
    }
    if (serial.empty()) serial = path;
    const std::string sectors = error ? std::string() : FirstLine(entry / "size");
    return "device serial=" + serial + " sectors=" + sectors;
}

}  // namespace

std::string DriveIdentity(const std::string& path, const std::string& sysRoot) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) return {};
    if (S_ISBLK(status.st_mode)) return DeviceIdentity(path, status.st_rdev, sysRoot);
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    const auto mtime = static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec;
    return "image path=" + (error ? path : absolute.lexically_normal().string()) +
           " bytes=" + std::to_string(status.st_size) + " mtime=" + std::to_string(mtime);
}

}  // namespace lumbra
