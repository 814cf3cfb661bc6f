#pragma once
// What the desktop offers the application besides its windows: handing a file or an address
// to the program the desktop associates with it, the program chooser, starting a program,
// file existence, the temporary folder, the current directory, file type names, and ending
// the process. The Qt binding implements it for the running desktop; tests use a fake.
#include <string>
#include <string_view>
#include <vector>

namespace lumbra {

enum class ShellOpenResult {
    Opened,
    NoAssociation,  // no program is associated with the file's type
    Failed,
};

enum class ShowWindowAs { Normal, Maximised };

class Desktop {
public:
    virtual ~Desktop() = default;

    // The verb "open" on a file or an address (a web page opens in the default browser).
    virtual ShellOpenResult OpenWithDesktop(const std::string& pathOrAddress, ShowWindowAs show) = 0;
    // Lets the user choose the program that opens the file; false when the chosen program could
    // not be started (a cancel is no failure).
    virtual bool OpenWithProgramChooser(const std::string& path) = 0;
    // Starts a program with its arguments; false when it could not be started.
    virtual bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) = 0;

    virtual bool FileExists(const std::string& path) const = 0;
    // A folder of this run for the copies of opened files, which only this user can enter and
    // which goes when the program ends; ends with a separator.
    virtual std::string TemporaryFolder() const = 0;
    // The process's current directory, as the system gives it (no separator added).
    virtual std::string CurrentDirectory() const = 0;
    // The desktop's type name for a file name; empty when the desktop has none.
    virtual std::string FileTypeName(std::string_view fileName) const = 0;

    // Ends the process at once, without waiting for any thread. Callers return right after
    // it, so that a test double may simply record the call.
    virtual void EndProcess(int exitCode) = 0;
};

}  // namespace lumbra
