#pragma once
// The pieces of a machine where a disk needs administrator rights, for the tests of the
// device-opening helper: a read-only loop device that only root may open, a stand-in for pkexec
// in a folder of its own, and a run of test code as the ordinary user nobody. Each needs root
// and the machine's loop devices; `why` says what was missing, so that the test can skip.
#include <functional>
#include <string>

#include "support/scratch_folder.h"

namespace lumbra::test {

// The helper as built, and the folder it lies in (with a trailing separator).
std::string OpenDeviceHelperPath();
std::string OpenDeviceHelperFolder();

// `image` attached read-only to a loop device whose node only root may open.
class RootOnlyLoopDevice {
public:
    explicit RootOnlyLoopDevice(const std::string& image);
    ~RootOnlyLoopDevice();
    RootOnlyLoopDevice(const RootOnlyLoopDevice&) = delete;
    RootOnlyLoopDevice& operator=(const RootOnlyLoopDevice&) = delete;

    const std::string& device() const { return device_; }  // empty when none could be attached
    const std::string& why() const { return why_; }

private:
    std::string device_;
    std::string why_;
};

// A folder of `scratch` holding "pkexec", the stand-in, installed setuid root: it exits with
// exitStatus at once when that is not 0, else runs the helper as root. With a gate, it first
// keeps its question open until a file of that path exists. Empty when it cannot be installed
// so (not root); whyNot then says why.
std::string InstallPkexecStandIn(const ScratchFolder& scratch, int exitStatus, std::string& whyNot,
                                 const std::string& gate = "");

// Waits until the gated stand-in of this folder is asking; false when it was not started within
// a minute.
bool WaitUntilStandInAsks(const std::string& standInFolder);

// Runs `body` in a child process with every right of user nobody and nothing else, PATH starting
// at pathFirst; what body answered, or a line that says how the child ended otherwise.
std::string RunAsNobody(const std::string& pathFirst, const std::function<std::string()>& body);

constexpr unsigned kNobody = 65534;

}  // namespace lumbra::test
