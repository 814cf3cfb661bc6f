// faulty-disk IMAGE PLAN MOUNTPOINT: serves IMAGE as the file MOUNTPOINT/disk, failing and
// slowing its reads as the fault plan PLAN says, and MOUNTPOINT/counters with what was asked of
// it so far. Every read reaches the server (direct I/O). SIGTERM, SIGINT or SIGHUP unmount.
#define FUSE_USE_VERSION 35
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fault_state.h"

namespace {

using lumbra::faulty::FaultState;

constexpr const char* kDiskPath = "/disk";
constexpr const char* kCountersPath = "/counters";

struct Served {
    int image = -1;
    uint64_t bytes = 0;
    std::unique_ptr<FaultState> state;
};

Served& served() {
    static Served instance;
    return instance;
}

int GetAttributes(const char* path, struct stat* info, fuse_file_info*) {
    std::memset(info, 0, sizeof *info);
    if (std::strcmp(path, "/") == 0) {
        info->st_mode = S_IFDIR | 0755;
        info->st_nlink = 2;
        return 0;
    }
    info->st_nlink = 1;
    info->st_uid = getuid();
    info->st_gid = getgid();
    if (std::strcmp(path, kDiskPath) == 0) {
        info->st_mode = S_IFREG | 0444;
        info->st_size = static_cast<off_t>(served().bytes);
        return 0;
    }
    if (std::strcmp(path, kCountersPath) == 0) {
        info->st_mode = S_IFREG | 0444;
        return 0;
    }
    return -ENOENT;
}

int ReadFolder(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*, fuse_readdir_flags) {
    if (std::strcmp(path, "/") != 0) return -ENOENT;
    for (const char* name : {".", "..", kDiskPath + 1, kCountersPath + 1}) fill(buffer, name, nullptr, 0, {});
    return 0;
}

int Open(const char* path, fuse_file_info* file) {
    if (std::strcmp(path, kDiskPath) != 0 && std::strcmp(path, kCountersPath) != 0) return -ENOENT;
    if ((file->flags & O_ACCMODE) != O_RDONLY) return -EROFS;
    file->direct_io = 1;
    return 0;
}

int ReadCounters(char* buffer, size_t size, off_t offset) {
    const std::string text = served().state->countersJson();
    if (offset < 0 || static_cast<uint64_t>(offset) >= text.size()) return 0;
    const size_t length = std::min(size, text.size() - static_cast<size_t>(offset));
    std::memcpy(buffer, text.data() + offset, length);
    return static_cast<int>(length);
}

int ReadDisk(char* buffer, size_t size, off_t offset) {
    Served& disk = served();
    if (offset < 0 || static_cast<uint64_t>(offset) >= disk.bytes) return 0;
    const size_t length = static_cast<size_t>(std::min<uint64_t>(size, disk.bytes - static_cast<uint64_t>(offset)));
    const lumbra::faulty::ReadAnswer answer = disk.state->read(static_cast<uint64_t>(offset), length);
    if (answer.delayMs) usleep(answer.delayMs * 1000u);
    if (!answer.ok) return -EIO;
    size_t done = 0;
    while (done < length) {
        const ssize_t got = pread(disk.image, buffer + done, length - done, offset + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return -EIO;
        done += static_cast<size_t>(got);
    }
    return static_cast<int>(length);
}

int Read(const char* path, char* buffer, size_t size, off_t offset, fuse_file_info*) {
    if (std::strcmp(path, kCountersPath) == 0) return ReadCounters(buffer, size, offset);
    if (std::strcmp(path, kDiskPath) == 0) return ReadDisk(buffer, size, offset);
    return -ENOENT;
}

void* Start(fuse_conn_info*, fuse_config* config) {
    config->direct_io = 1;
    config->kernel_cache = 0;
    config->attr_timeout = 0;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: faulty-disk IMAGE PLAN MOUNTPOINT\n");
        return 2;
    }
    std::ifstream planFile(argv[2]);
    std::stringstream planText;
    planText << planFile.rdbuf();
    std::string error;
    const auto plan = lumbra::faulty::ParseFaultPlan(planText.str(), error);
    if (!planFile || !plan) {
        std::fprintf(stderr, "faulty-disk: %s is not a fault plan: %s\n", argv[2], planFile ? error.c_str() : "cannot be read");
        return 2;
    }
    Served& disk = served();
    disk.image = open(argv[1], O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (disk.image < 0 || fstat(disk.image, &info) != 0) {
        std::fprintf(stderr, "faulty-disk: %s cannot be read: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    disk.bytes = static_cast<uint64_t>(info.st_size);
    disk.state = std::make_unique<FaultState>(*plan, disk.bytes);

    fuse_operations operations{};
    operations.getattr = GetAttributes;
    operations.readdir = ReadFolder;
    operations.open = Open;
    operations.read = Read;
    operations.init = Start;
    // In the foreground, one request at a time as a disk answers, read-only.
    std::vector<char*> arguments = {argv[0], argv[3], const_cast<char*>("-f"), const_cast<char*>("-s"),
                                    const_cast<char*>("-o"), const_cast<char*>("ro,fsname=faulty-disk")};
    return fuse_main(static_cast<int>(arguments.size()), arguments.data(), &operations, nullptr);
}
