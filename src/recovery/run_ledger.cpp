#include "recovery/run_ledger.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "recovery/file_copy.h"

namespace lumbra {
namespace {

constexpr const char* kHeader = "lumbra-nss extract state 1\n";
// A ledger larger than this is not one we wrote (a million files take a fraction of it).
constexpr off_t kMaxLedgerBytes = off_t{1} << 30;

// A path below the destination, as the ledger holds it: relative, without "." or ".." steps.
bool SafeRelativePath(const std::string& path) {
    if (path.empty() || path.front() == '/' || path.find('\0') != std::string::npos) return false;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string step = path.substr(start, end - start);
        if (step.empty() || step == "." || step == "..") return false;
        start = end + 1;
    }
    return true;
}

// The whole ledger file; nullopt when it cannot be read (a missing one is empty).
std::optional<std::string> ReadLedger(const std::string& path, std::string& failure) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return std::string();
        failure = std::strerror(errno);
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > kMaxLedgerBytes) {
        failure = "it is not a state file of this program";
        ::close(fd);
        return std::nullopt;
    }
    std::string text(static_cast<size_t>(status.st_size), '\0');
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    text.resize(done);
    return text;
}

}  // namespace

std::optional<RunLedger> RunLedger::Open(DestinationFiles& files, const std::string& destination, bool resume,
                                         std::string& failure) {
    const std::string path = JoinPath(destination, kRunLedgerName);
    if (files.inputAt(path)) {
        failure = path + ": the file is read by this recovery";
        return std::nullopt;
    }
    std::string earlier;
    if (resume) {
        auto text = ReadLedger(path, failure);
        if (!text) {
            failure = path + ": " + failure;
            return std::nullopt;
        }
        earlier = std::move(*text);
    }
    const bool goOn = resume && earlier.rfind(kHeader, 0) == 0;
    if (!goOn && ::unlink(path.c_str()) != 0 && errno != ENOENT) {
        failure = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    const int flags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC | (goOn ? 0 : O_CREAT | O_EXCL);
    const int fd = ::open(path.c_str(), flags, 0666);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        failure = path + ": " + (fd < 0 ? std::strerror(errno) : "it is not a state file of this program");
        if (fd >= 0) ::close(fd);
        return std::nullopt;
    }
    RunLedger ledger(fd, destination, path);
    if (goOn) {
        ledger.Read(earlier.substr(std::strlen(kHeader)));
        ledger.continued_ = true;
    } else if (::write(fd, kHeader, std::strlen(kHeader)) != static_cast<ssize_t>(std::strlen(kHeader))) {
        failure = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return ledger;
}

RunLedger::RunLedger(int fd, std::string destination, std::string path)
    : fd_(fd), destination_(std::move(destination)), path_(std::move(path)) {}

RunLedger::RunLedger(RunLedger&& other) noexcept
    : fd_(other.fd_),
      destination_(std::move(other.destination_)),
      path_(std::move(other.path_)),
      currentKey_(std::move(other.currentKey_)),
      seen_(std::move(other.seen_)),
      lastNote_(std::move(other.lastNote_)),
      ownerOf_(std::move(other.ownerOf_)),
      failed_(other.failed_),
      continued_(other.continued_) {
    other.fd_ = -1;
}

RunLedger::~RunLedger() {
    if (fd_ >= 0) ::close(fd_);
}

// Lines of "KIND KEY BYTES PATH"; a line that is not one (a write cut off, or text of another kind) is
// passed over.
void RunLedger::Read(const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) break;
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t keyEnd = line.find(' ', 2);
        const size_t bytesEnd = keyEnd == std::string::npos ? keyEnd : line.find(' ', keyEnd + 1);
        if (line.size() < 4 || line[1] != ' ' || bytesEnd == std::string::npos) continue;
        const char kind = line[0];
        if (kind != 'N' && kind != 'R' && kind != 'W') continue;
        const std::string key = line.substr(2, keyEnd - 2);
        const std::string bytes = line.substr(keyEnd + 1, bytesEnd - keyEnd - 1);
        std::string path = line.substr(bytesEnd + 1);
        if (key.empty() || bytes.empty() || bytes.size() > 19 || bytes.find_first_not_of("0123456789") != std::string::npos ||
            !SafeRelativePath(path))
            continue;
        if (kind != 'R') ownerOf_[path] = key;
        lastNote_[key] = {kind, std::move(path), std::stoull(bytes)};
    }
}

ResumePlan RunLedger::Begin(const ItemRecord& file, const DestinationFiles& files) {
    const std::string base = std::to_string(file.parentId) + ":" + std::to_string(file.objectId) + ":" +
                             std::to_string(file.firstBlock) + ":" + std::to_string(file.size);
    currentKey_ = base + "#" + std::to_string(seen_[base]++);
    const auto note = lastNote_.find(currentKey_);
    if (note == lastNote_.end()) return {};
    const std::string path = JoinPath(destination_, note->second.path);
    const auto owner = ownerOf_.find(note->second.path);
    if (owner == ownerOf_.end() || owner->second != currentKey_) {
        // Another record's copy holds the name: one that replaced this copy later in the run, or
        // the file this record had begun to replace.
        if (note->second.kind == 'R') return {ResumePlan::Kind::RewriteAt, path};
        return {ResumePlan::Kind::AlreadyThere, path};
    }
    if (!files.exists(path)) return {ResumePlan::Kind::RewriteAt, path};
    const auto size = files.regularFileSize(path);
    const auto wanted = static_cast<uint64_t>(file.size);
    if (size && note->second.kind == 'W' && *size == note->second.bytes) return {ResumePlan::Kind::AlreadyThere, path};
    if (size && note->second.kind != 'W' && *size <= wanted) return {ResumePlan::Kind::RewriteAt, path};
    return {ResumePlan::Kind::FreshKeep, {}};
}

void RunLedger::Writing(const std::string& path, bool replacing) { Append(replacing ? 'R' : 'N', path, 0); }

void RunLedger::Whole(const std::string& path, uint64_t bytes) { Append('W', path, bytes); }

std::string RunLedger::Relative(const std::string& path) const {
    const std::string prefix = JoinPath(destination_, "");
    return path.rfind(prefix, 0) == 0 ? path.substr(prefix.size()) : std::string();
}

void RunLedger::Append(char kind, const std::string& path, uint64_t bytes) {
    const std::string relative = Relative(path);
    if (currentKey_.empty() || !SafeRelativePath(relative) || relative.find('\n') != std::string::npos) return;
    const std::string line =
        std::string(1, kind) + " " + currentKey_ + " " + std::to_string(bytes) + " " + relative + "\n";
    // One write a line, in append mode: a line is never split by another.
    if (::write(fd_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) failed_ = true;
}

}  // namespace lumbra
