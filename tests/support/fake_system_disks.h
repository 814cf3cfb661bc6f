#pragma once
// A stand-in for /sys/block and /dev in a scratch folder: whole disks that can be read, and disks
// an ordinary user may not read.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "disk/linux_drives.h"
#include "support/scratch_folder.h"

namespace lumbra::test {

class FakeSystemDisks {
public:
    explicit FakeSystemDisks(const ScratchFolder& folder)
        : folder_(folder), sys_(folder.path() / "sys"), dev_(folder.path() / "dev") {
        std::filesystem::create_directories(sys_);
        std::filesystem::create_directories(dev_);
    }

    SystemPaths paths() const { return {sys_.string(), dev_.string()}; }

    // A disk of 2048 numbered sectors that anyone may read.
    void addReadable(const std::string& name) {
        describe(name);
        folder_.numberedImage("dev/" + name, 2048);
        chmod((dev_ / name).c_str(), 0644);
    }

    // A disk of 2048 numbered sectors that only the administrator may read.
    void addUnreadable(const std::string& name) {
        addReadable(name);
        chmod((dev_ / name).c_str(), 0);
    }

private:
    void describe(const std::string& name) {
        std::filesystem::create_directories(sys_ / name);
        std::ofstream(sys_ / name / "size") << "2048\n";
        std::ofstream(sys_ / name / "removable") << "0\n";
    }

    const ScratchFolder& folder_;
    std::filesystem::path sys_, dev_;
};

// Opens files with the rights of an ordinary user while it lives (an administrator reads every
// file, so a test run as root takes another user's rights for the time).
class OrdinaryUser {
public:
    OrdinaryUser() : wasRoot_(geteuid() == 0), active_(!wasRoot_ || seteuid(65534) == 0) {}
    ~OrdinaryUser() {
        // The tests that follow expect the administrator's rights back.
        if (wasRoot_ && active_ && seteuid(0) != 0) std::abort();
    }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

    // Whether the rights were really taken (false when the administrator could not give them up).
    bool active() const { return active_; }

private:
    bool wasRoot_;
    bool active_;
};

}  // namespace lumbra::test
