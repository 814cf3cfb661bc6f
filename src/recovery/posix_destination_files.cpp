#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "recovery/destination_files.h"

namespace lumbra {
namespace {

class PosixFile : public DestinationFile {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
    }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    bool write(const uint8_t* bytes, size_t length) override {
        while (length > 0) {
            const ssize_t done = ::write(fd_, bytes, length);
            if (done < 0 && errno == EINTR) continue;
            if (done <= 0) return false;
            bytes += done;
            length -= static_cast<size_t>(done);
        }
        return true;
    }

    bool close() override {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

private:
    int fd_;
};

}  // namespace

bool PosixDestinationFiles::exists(const std::string& path) const {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

// O_NONBLOCK keeps a FIFO without a reader from blocking the open; regular files ignore it.
std::unique_ptr<DestinationFile> PosixDestinationFiles::create(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixFile>(fd);
}

bool PosixDestinationFiles::remove(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool PosixDestinationFiles::ensureFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    if (errno != EEXIST) return false;
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The link itself, never what it points at: the destination stays the only place written.
bool PosixDestinationFiles::setModificationTime(const std::string& path, int64_t seconds) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

}  // namespace lumbra
