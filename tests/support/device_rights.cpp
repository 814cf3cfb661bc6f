#include "support/device_rights.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/loop_mount.h"

namespace lumbra::test {

namespace fs = std::filesystem;

std::string OpenDeviceHelperPath() { return LUMBRA_OPEN_DEVICE_HELPER; }

std::string OpenDeviceHelperFolder() { return fs::path(LUMBRA_OPEN_DEVICE_HELPER).parent_path().string() + "/"; }

RootOnlyLoopDevice::RootOnlyLoopDevice(const std::string& image) {
    if (geteuid() != 0) {
        why_ = "attaching a loop device needs root";
        return;
    }
    device_ = ShellOutput("losetup -f --show -r '" + image + "' 2>/dev/null");
    if (device_.empty()) {
        why_ = "losetup could not attach a loop device here";
        return;
    }
    if (chown(device_.c_str(), 0, 0) != 0 || chmod(device_.c_str(), 0600) != 0) why_ = "the loop device's node cannot be made root's";
}

RootOnlyLoopDevice::~RootOnlyLoopDevice() {
    if (!device_.empty()) std::system(("losetup -d " + device_).c_str());
}

std::string InstallPkexecStandIn(const ScratchFolder& scratch, int exitStatus, std::string& whyNot,
                                 const std::string& gate) {
    if (geteuid() != 0) {
        whyNot = "a setuid stand-in for pkexec needs root";
        return "";
    }
    const fs::path folder = scratch.path() / ("pkexec-" + std::to_string(exitStatus));
    fs::create_directories(folder);
    const fs::path program = folder / "pkexec";
    fs::copy_file(LUMBRA_FAKE_PKEXEC, program, fs::copy_options::overwrite_existing);
    std::ofstream(folder / "exit-status") << exitStatus;
    std::ofstream(folder / "gate") << gate;
    fs::remove(folder / "asking");
    if (chown(program.c_str(), 0, 0) != 0 || chmod(program.c_str(), 04755) != 0) {
        whyNot = "the stand-in cannot be made setuid root";
        return "";
    }
    // The scratch folders above must let user nobody pass.
    for (const fs::path& up : {folder, scratch.path(), scratch.path().parent_path()}) chmod(up.c_str(), 0755);
    return folder.string();
}

bool WaitUntilStandInAsks(const std::string& standInFolder) {
    for (int poll = 0; poll < 6000; ++poll) {
        if (fs::exists(fs::path(standInFolder) / "asking")) return true;
        usleep(10000);
    }
    return false;
}

std::string RunAsNobody(const std::string& pathFirst, const std::function<std::string()>& body) {
    int ends[2];
    if (pipe(ends) != 0) return "no pipe";
    const pid_t child = fork();
    if (child < 0) return "no fork";
    if (child == 0) {
        close(ends[0]);
        std::string answer;
        if (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
            setresuid(kNobody, kNobody, kNobody) != 0) {
            answer = "cannot become nobody";
        } else {
            const char* path = std::getenv("PATH");
            setenv("PATH", (pathFirst + ":" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
            answer = body();
        }
        size_t done = 0;
        while (done < answer.size()) {
            const ssize_t wrote = write(ends[1], answer.data() + done, answer.size() - done);
            if (wrote <= 0) break;
            done += static_cast<size_t>(wrote);
        }
        _exit(0);
    }
    close(ends[1]);
    std::string answer;
    char chunk[4096];
    ssize_t got;
    while ((got = read(ends[0], chunk, sizeof chunk)) > 0) answer.append(chunk, static_cast<size_t>(got));
    close(ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return answer + "\n(the child ended with status " + std::to_string(status) + ")";
    return answer;
}

}  // namespace lumbra::test
