#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>

#include "recovery/destination_files.h"
#include "recovery/file_copy.h"

namespace lumbra {
namespace {

// A file being written: either new at its own name, or, when it replaces an earlier file, under
// a temporary name beside it that is renamed over the earlier one only once all is stored.
class PosixFile : public DestinationFile {
public:
    PosixFile(int fd, std::string written, std::string replaced)
        : fd_(fd), written_(std::move(written)), replaced_(std::move(replaced)) {}
    ~PosixFile() override {
        if (fd_ >= 0) abandon();
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

    // The data reaches the disk before the rename, so that a crash cannot leave the earlier
    // copy replaced by an empty one.
    bool close() override {
        const bool synced = replaced_.empty() || ::fsync(fd_) == 0;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        if (synced && closed && (replaced_.empty() || std::rename(written_.c_str(), replaced_.c_str()) == 0))
            return true;
        ::unlink(written_.c_str());
        return false;
    }

    void abandon() override {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        ::unlink(written_.c_str());
    }

private:
    int fd_;
    std::string written_;   // the name the data goes to
    std::string replaced_;  // the earlier file it replaces when whole; empty for a new file
};

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file beside `path` with a short name of its own (a long recovered name plus a suffix
// could pass the name limit); -1 when none can be created.
int CreateBeside(const std::string& path, std::string& created, unsigned mode) {
    static std::atomic<uint32_t> counter{0};
    const std::string folder = FolderOf(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = folder + "/.lumbra-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".part";
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

bool PosixDestinationFiles::exists(const std::string& path) const {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

std::optional<uint64_t> PosixDestinationFiles::regularFileSize(const std::string& path) const {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return static_cast<uint64_t>(status.st_size);
}

std::optional<std::string> PosixDestinationFiles::inputAt(const std::string& path) const {
    return inputs_ ? inputs_->inputAt(path) : std::nullopt;
}

// Only a regular file is ever replaced; a link, a folder or a device at the name is refused.
// O_NONBLOCK keeps a FIFO without a reader from blocking the open; regular files ignore it.
std::unique_ptr<DestinationFile> PosixDestinationFiles::create(const std::string& path) {
    if (inputAt(path)) {
        lastFailure_ = "The file is read by this recovery.";
        return nullptr;
    }
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) {
            errno = S_ISDIR(existing.st_mode) ? EISDIR : EEXIST;  // the reason a report gives
            lastFailure_ = "Something that is not a file has this name.";
            return nullptr;
        }
        std::string temporary;
        const int fd = CreateBeside(path, temporary, mode_);
        if (fd < 0) {
            Failed();
            return nullptr;
        }
        return std::make_unique<PosixFile>(fd, temporary, path);
    }
    return PosixDestinationFiles::createNew(path);
}

std::unique_ptr<DestinationFile> PosixDestinationFiles::createNew(const std::string& path) {
    if (inputAt(path)) {
        lastFailure_ = "The file is read by this recovery.";
        return nullptr;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode_);
    if (fd < 0) {
        Failed();
        return nullptr;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        lastFailure_ = "Something that is not a file has this name.";
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixFile>(fd, path, std::string());
}

std::unique_ptr<DestinationFile> DestinationFiles::createNew(const std::string& path) {
    if (!exists(path)) return create(path);
    errno = EEXIST;
    return nullptr;
}

bool PosixDestinationFiles::ensureFolder(const std::string& path) {
    if (inputAt(path)) {
        lastFailure_ = "The folder would lie on what this recovery reads.";
        return false;
    }
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    if (errno != EEXIST) return Failed();
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return true;
    lastFailure_ = "Something that is not a folder has this name.";
    return false;
}

bool PosixDestinationFiles::Failed() {
    lastFailure_ = std::strerror(errno);
    return false;
}

std::optional<std::string> DestinationWriteProblem(DestinationFiles& files, const std::string& folder) {
    std::unique_ptr<DestinationFile> file = files.create(JoinPath(folder, ".lumbra-probe-" + std::to_string(::getpid())));
    if (!file) {
        const std::string reason = files.lastFailure();
        return reason.empty() ? std::string("The folder cannot be written.") : reason;
    }
    file->abandon();
    return std::nullopt;
}

// The link itself, never what it points at: the destination stays the only place written.
bool PosixDestinationFiles::setModificationTime(const std::string& path, int64_t seconds) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

}  // namespace lumbra
