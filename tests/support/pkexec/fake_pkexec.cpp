// A stand-in for pkexec, for the tests. Installed setuid root in a folder put first in PATH, it
// does what pkexec does once the user is authorised: closes every descriptor above 2, clears the
// environment but for PKEXEC_UID, becomes root entirely and runs the program it is given. When
// the file "exit-status" beside it holds a number other than 0, it exits with it at once, as
// pkexec does when the question is dismissed (126) or the user is not authorised (127).
// When the file "gate" beside it names a file, it first stands for a question left open: it
// writes "asking" beside itself and waits until the named file exists, as pkexec waits for the
// user's answer; a question nobody answers within a minute counts as dismissed.
#include <linux/close_range.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kDismissed = 126;
constexpr int kGatePolls = 6000;  // of 10 ms each

bool WaitAtGate(const std::filesystem::path& folder) {
    std::string gate;
    std::getline(std::ifstream(folder / "gate"), gate);
    if (gate.empty()) return true;
    std::ofstream(folder / "asking") << getpid();
    for (int poll = 0; poll < kGatePolls; ++poll) {
        if (std::filesystem::exists(gate)) return true;
        usleep(10000);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    if (!WaitAtGate(folder)) return kDismissed;
    int status = 0;
    std::ifstream(folder / "exit-status") >> status;
    if (status != 0) return status;
    if (argc != 2) return 127;
    syscall(SYS_close_range, 3U, ~0U, 0U);
    const std::string caller = std::to_string(getuid());
    if (setresgid(0, 0, 0) != 0 || setresuid(0, 0, 0) != 0) return 127;
    clearenv();
    setenv("PKEXEC_UID", caller.c_str(), 1);
    char* const arguments[] = {argv[1], nullptr};
    execv(argv[1], arguments);
    return 127;
}
