#pragma once
// Where Help -> Contents finds the user guide: installed beside the package's other documents,
// reached from the folder of the program.
#include <string>

namespace lumbra {

// The guide's first page for a program in applicationDirectory (with its trailing separator).
std::string UserGuidePath(const std::string& applicationDirectory);

}  // namespace lumbra
