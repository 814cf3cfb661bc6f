// A stand-in for pkexec, for the tests. Installed setuid root in a folder put first in PATH, it
// does what pkexec does once the user is authorised: closes every descriptor above 2, clears the
// environment but for PKEXEC_UID, becomes root entirely and runs the program it is given. When
// the file "exit-status" beside it holds a number other than 0, it exits with it at once, as
// pkexec does when the question is dismissed (126) or the user is not authorised (127).
#include <linux/close_range.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    int status = 0;
    std::ifstream(std::filesystem::read_symlink("/proc/self/exe").parent_path() / "exit-status") >> status;
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
