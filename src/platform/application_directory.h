#pragma once
#include <string>

namespace lumbra {

// The current directory at start-up with a trailing separator: the help file and the updater
// program are looked for there.
std::string CurrentApplicationDirectory();

// A directory as the application keeps it: with one trailing separator, never two.
std::string ApplicationDirectoryFrom(std::string directory);

// The folder of the running program with a trailing separator (where the BIOS disk libraries
// are loaded from).
std::string ExecutableDirectory();

}  // namespace lumbra
