#pragma once
// The files a run reads: its drives and images (and the image behind a loop device among them),
// their rescue maps, a loaded snapshot. An output that is one of them (by device and inode, the
// same block device under another node, or a loop device over the same image) would destroy
// what is being recovered, so no output may be written there; nor on a file system of the disk
// the run reads, whose free space holds the lost data.
#include <sys/stat.h>
#include <sys/types.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "disk/source_disk.h"

namespace lumbra {

class RunInputs {
public:
    // Remembers the file at path (links followed); a path that cannot be examined is left out.
    void add(const std::string& path);

    // The drive or image the run reads its pools from (also an input); from now on an output on
    // one of its file systems is refused too. sysRoot: where sysfs is (tests build one).
    void readDisk(const std::string& path, const std::string& sysRoot = "/sys");

    // The input a write to `path` would land on (links followed, so a symbolic or hard link
    // to an input is found too), or the disk being read when path's folder lies on it; nullopt
    // when there is none.
    std::optional<std::string> inputAt(const std::string& path) const;

    // The input an open file is (standard output, say): only a regular file or a block device
    // can be one; nullopt for anything else.
    std::optional<std::string> inputOpenAs(int fd) const;

private:
    struct Input {
        std::string path;
        dev_t device = 0;
        ino_t inode = 0;
        dev_t blockDevice = 0;  // for a block device node: the device it stands for, else 0
    };
    std::optional<std::string> inputIs(const struct stat& status) const;
    std::optional<std::string> onDiskRead(dev_t fileSystem) const;

    std::string sysRoot_ = "/sys";
    std::vector<Input> inputs_;
    struct DiskRead {
        std::string path;
        SourceIdentity identity;
    };
    std::optional<DiskRead> diskRead_;
    // Whether a file system lies on the disk read, by its device: asked of sysfs once per run.
    mutable std::mutex answersLock_;
    mutable std::map<dev_t, bool> answers_;
};

// The text both programs give for a refused output: names the target and the input.
std::string ReplacesInputText(const std::string& target, const std::string& input);

}  // namespace lumbra
