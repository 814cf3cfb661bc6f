#pragma once
// The desktop program's command line: --image PATH (repeatable, each optionally followed by
// --mapfile MAP), --no-drives, --access-mode=N|F, --help, --version, and disk image files as
// further arguments (as with --image). Read before any window system is touched, so that help,
// version and a bad option answer on a terminal without a display.
#include <QStringList>
#include <string>
#include <variant>
#include <vector>

#include "disk/access_mode.h"
#include "disk/disk_access.h"

namespace lumbra {

struct DesktopOptions {
    AccessMode mode = DefaultAccessMode();
    DriveSources sources;
    // What the window shows once it is up: each image left out because its rescue map cannot
    // be used, and why.
    std::vector<std::string> problems;
};

// The options, or the exit status of a command line answered without a window (help and version
// print on stdout and give 0; a bad option prints on stderr and gives 2).
std::variant<DesktopOptions, int> ParseDesktopCommandLine(const QStringList& arguments);

}  // namespace lumbra
