#pragma once
// The one way the program opens a drive or an image. It opens directly where this user may read
// the source (root, a member of the disk group, an image file); a block device that refuses the
// user is asked of the device-opening helper, which pkexec starts once per run with one end of a
// socket pair as its standard input. Administrator rights are thus asked only when a disk needs
// them, and the window and the command line keep running as the user.
#include <sys/types.h>

#include <memory>
#include <mutex>
#include <string>

#include "disk/file_device.h"

namespace lumbra {

enum class OpenFailure {
    None,
    Error,           // the source cannot be read; the text says why
    RightsNotGiven,  // a disk that needs administrator rights, and pkexec did not give them
    NoWayToAsk,      // a disk that needs administrator rights, and no pkexec to ask for them
    RightsNeeded,    // a disk that needs administrator rights, not asked for in this call
};

// Whether an open may ask for administrator rights, which can wait long for the user's answer.
enum class RightsQuestion { Ask, NotNow };

struct DeviceOpenResult {
    std::unique_ptr<FileDevice> device;  // null when the open failed
    OpenFailure failure = OpenFailure::None;
    std::string error;
};

class DeviceOpener {
public:
    // helperPath: the installed device-opening helper, the path the polkit action names.
    explicit DeviceOpener(std::string helperPath = {}) : helperPath_(std::move(helperPath)) {}
    ~DeviceOpener();
    DeviceOpener(const DeviceOpener&) = delete;
    DeviceOpener& operator=(const DeviceOpener&) = delete;

    void setHelperPath(std::string helperPath) { helperPath_ = std::move(helperPath); }
    // With NotNow, a disk that needs rights the helper does not hold yet answers RightsNeeded
    // at once.
    DeviceOpenResult Open(const std::string& path, RightsQuestion question = RightsQuestion::Ask);

private:
    DeviceOpenResult openThroughHelper(const std::string& path);
    bool startHelper(DeviceOpenResult& failure);
    // Closes the socket and collects the helper; fills `failure` from how the helper ended.
    void endHelper(DeviceOpenResult* failure);

    std::mutex mutex_;
    std::string helperPath_;
    int socket_ = -1;
    pid_t helper_ = -1;
};

// pkexec's exit codes when it did not run the program: the question was dismissed (126), or
// the user is not authorised or no authentication agent could ask (127).
constexpr int kPkexecDismissed = 126;
constexpr int kPkexecNotAuthorised = 127;

}  // namespace lumbra
