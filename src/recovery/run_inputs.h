#pragma once
// The files a run reads: its drives and images, their rescue maps, a loaded snapshot. An
// output that is one of them (by device and inode, or the same block device under another
// node) would destroy what is being recovered, so no output may be written there.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace lumbra {

class RunInputs {
public:
    // Remembers the file at path (links followed); a path that cannot be examined is left out.
    void add(const std::string& path);

    // The input a write to `path` would land on (links followed, so a symbolic or hard link
    // to an input is found too); nullopt when there is none or nothing exists at path.
    std::optional<std::string> inputAt(const std::string& path) const;

private:
    struct Input {
        std::string path;
        dev_t device = 0;
        ino_t inode = 0;
        dev_t blockDevice = 0;  // for a block device node: the device it stands for, else 0
    };
    std::vector<Input> inputs_;
};

// The text both programs give for a refused output: names the target and the input.
std::string ReplacesInputText(const std::string& target, const std::string& input);

}  // namespace lumbra
