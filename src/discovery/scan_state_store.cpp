#include "discovery/scan_state_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace lumbra {

namespace fs = std::filesystem;

namespace {

// FNV-1a: a stable name for an identity of any length; the file itself holds the identity.
std::string Digest(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char name[17];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash));
    return name;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0) return false;
        written += static_cast<size_t>(n);
    }
    return true;
}

std::optional<std::string> ReadBounded(const std::string& path, bool& exists) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    exists = fd >= 0 || errno != ENOENT;
    if (fd < 0) return std::nullopt;
    std::string text;
    char buffer[8192];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && text.size() <= kMaxScanStateBytes)
        text.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    if (n < 0) return std::nullopt;
    return text;
}

// The folder itself, or the nearest folder above it that exists, with its owner.
std::optional<std::pair<std::string, uid_t>> NearestOwner(const std::string& folder) {
    fs::path existing(folder);
    struct stat status {};
    while (::stat(existing.c_str(), &status) != 0) {
        if (!existing.has_relative_path()) return std::nullopt;
        existing = existing.parent_path();
    }
    return std::make_pair(existing.string(), status.st_uid);
}

}  // namespace

ScanStateStore::ScanStateStore(std::string folder) : folder_(std::move(folder)) {}

std::string ScanStateStore::DefaultFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/')
        return std::string(state) + "/lumbra-nss";
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.local/state/lumbra-nss";
    return {};
}

std::string ScanStateStore::pathFor(const std::string& driveIdentity) const {
    return folder_ + "/scan-" + Digest(driveIdentity) + ".json";
}

std::optional<std::string> ScanStateStore::whyNotKept() const {
    if (folder_.empty()) return std::string("neither XDG_STATE_HOME nor HOME names a folder for it");
    // Root with the user's HOME (sudo -E) would leave the user a folder of root's in the home.
    const auto owner = NearestOwner(folder_);
    if (owner && owner->second != ::geteuid())
        return owner->first + " belongs to another user than the one this program runs as";
    return std::nullopt;
}

bool ScanStateStore::save(const ScanState& state) const {
    if (state.driveIdentity.empty() || whyNotKept()) return false;
    std::error_code error;
    fs::create_directories(folder_, error);
    const std::string target = pathFor(state.driveIdentity);
    const std::string temporary = target + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, EncodeScanState(state)) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself reaches the disk with its folder.
    const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

StoredScanState ScanStateStore::load(const std::string& driveIdentity) const {
    if (folder_.empty() || driveIdentity.empty()) return {};
    const std::string path = pathFor(driveIdentity);
    bool exists = false;
    const auto text = ReadBounded(path, exists);
    if (!text) return {std::nullopt, exists ? "the scan state " + path + " cannot be read" : std::string()};
    ScanStateRead read = DecodeScanState(*text);
    if (!read.state) return {std::nullopt, "the scan state " + path + " is ignored: " + read.problem};
    if (read.state->driveIdentity != driveIdentity)
        return {std::nullopt, "the scan state " + path + " is ignored: it belongs to another drive"};
    return {std::move(read.state), {}};
}

void ScanStateStore::remove(const std::string& driveIdentity) const {
    if (folder_.empty() || driveIdentity.empty()) return;
    ::unlink(pathFor(driveIdentity).c_str());
}

std::string ResumeQuestion(const ScanState& state) {
    return "A scan of this disk stopped at sector " + std::to_string(state.nextSector) + " (" +
           std::to_string(state.percentDone()) + " %). Continue from there?";
}

std::string ScanStateNotKeptText(const std::string& why) {
    return "The scan state cannot be saved (" + why + "); a stopped scan will start again from its beginning.";
}

}  // namespace lumbra
