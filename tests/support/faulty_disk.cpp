#include "support/faulty_disk.h"

#include <fcntl.h>
#include <linux/loop.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/loop_mount.h"

namespace lumbra::test {

namespace fs = std::filesystem;

namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Mounted(const std::string& mountPoint) {
    std::ifstream table("/proc/self/mounts");
    std::string device, where, rest;
    while (table >> device >> where && std::getline(table, rest))
        if (where == mountPoint) return true;
    return false;
}

// Waits up to `tenths` tenths of a second for the server to end; true when it did.
bool Ended(int server, int tenths) {
    for (int wait = 0; wait < tenths; ++wait) {
        if (waitpid(server, nullptr, WNOHANG) == server) return true;
        usleep(100000);
    }
    return false;
}

}  // namespace

std::string FaultyDiskCounters::text() const {
    std::ostringstream line;
    line << reads << " reads, " << failedReads << " failed, " << bytes << " bytes served, sector " << sectorReadMost
         << " read most (" << mostReadsOfOneSector << " times), sector " << sectorFailedMost << " failed most ("
         << mostFailedReadsOfOneSector << " times)" << (dead ? ", the disk died" : "");
    return line.str();
}

std::string FaultyDiskUnavailable() {
    if (access("/dev/fuse", R_OK | W_OK) != 0) return "this machine has no usable /dev/fuse: the tests through a faulty disk are skipped";
    return "";
}

FaultyDisk::FaultyDisk(const std::string& image, const faulty::FaultPlan& plan, const std::string& folder, Attach attach)
    : mountPoint_(fs::weakly_canonical(folder + "/mount").string()), file_(mountPoint_ + "/disk") {
    fs::create_directories(mountPoint_);
    const std::string planPath = folder + "/fault-plan.json";
    const std::string errors = folder + "/faulty-disk.log";
    std::ofstream(planPath) << faulty::FaultPlanJson(plan);
    const pid_t parent = getpid();
    server_ = fork();
    if (server_ < 0) {
        why_ = "cannot start faulty-disk";
        return;
    }
    if (server_ == 0) {
        // The server ends (and unmounts) with the test program, however that one ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(1);
        std::freopen(errors.c_str(), "w", stderr);
        execl(LUMBRA_FAULTY_DISK, LUMBRA_FAULTY_DISK, image.c_str(), planPath.c_str(), mountPoint_.c_str(), nullptr);
        _exit(127);
    }
    struct stat served {};
    const uint64_t bytes = fs::file_size(image);
    for (int poll = 0; poll < 200; ++poll) {
        if (stat(file_.c_str(), &served) == 0 && static_cast<uint64_t>(served.st_size) == bytes) break;
        if (waitpid(server_, nullptr, WNOHANG) == server_) {
            server_ = -1;
            why_ = "faulty-disk ended at once: " + FileText(errors);
            return;
        }
        usleep(50000);
    }
    if (static_cast<uint64_t>(served.st_size) != bytes) {
        why_ = "faulty-disk did not serve the image within ten seconds: " + FileText(errors);
        return;
    }
    // Where losetup cannot attach (a container without loop devices), root reads the file too.
    if (attach == Attach::LoopDeviceWhenRoot && geteuid() == 0)
        loopDevice_ = ShellOutput("losetup -f --show -r '" + file_ + "' 2>/dev/null");
    if (!loopDevice_.empty()) holdLoopDevice();
}

// The loop device goes by itself once the last descriptor of it closes, and this object holds
// one: a test program that is killed leaves no loop device behind.
void FaultyDisk::holdLoopDevice() {
    held_ = open(loopDevice_.c_str(), O_RDONLY | O_CLOEXEC);
    loop_info64 status {};
    if (held_ >= 0 && ioctl(held_, LOOP_GET_STATUS64, &status) == 0) {
        status.lo_flags |= LO_FLAGS_AUTOCLEAR;
        ioctl(held_, LOOP_SET_STATUS64, &status);
    }
}

FaultyDisk::~FaultyDisk() { stop(); }

void FaultyDisk::stop() {
    if (held_ >= 0) close(held_);
    if (!loopDevice_.empty()) std::system(("losetup -d " + loopDevice_ + " 2>/dev/null").c_str());
    if (server_ > 0) {
        kill(server_, SIGTERM);
        if (!Ended(server_, 100)) {
            kill(server_, SIGKILL);
            waitpid(server_, nullptr, 0);
        }
    }
    if (Mounted(mountPoint_))
        std::system(((geteuid() == 0 ? "umount -l '" : "fusermount3 -u -z '") + mountPoint_ + "' 2>/dev/null").c_str());
}

void FaultyDisk::vanish() {
    if (server_ <= 0) return;
    kill(server_, SIGKILL);
    waitpid(server_, nullptr, 0);
    server_ = -1;
}

FaultyDiskCounters FaultyDisk::counters() const {
    FaultyDiskCounters counters;
    const auto json = nlohmann::json::parse(FileText(mountPoint_ + "/counters"), nullptr, false);
    if (!json.is_object()) return counters;
    counters.reads = json.value("reads", uint64_t{0});
    counters.failedReads = json.value("failedReads", uint64_t{0});
    counters.bytes = json.value("bytes", uint64_t{0});
    counters.dead = json.value("dead", false);
    counters.mostReadsOfOneSector = json.value("mostReadsOfOneSector", uint64_t{0});
    counters.sectorReadMost = json.value("sectorReadMost", uint64_t{0});
    counters.mostFailedReadsOfOneSector = json.value("mostFailedReadsOfOneSector", uint64_t{0});
    counters.sectorFailedMost = json.value("sectorFailedMost", uint64_t{0});
    return counters;
}

}  // namespace lumbra::test
