#pragma once
// The program's file dialogs (never the platform's own): run one and take what it chose.
#include <optional>
#include <string>

class QFileDialog;

namespace lumbra {

// Runs the dialog; the last file chosen, in the file system's bytes, or nullopt when cancelled.
// The busy cursor shows until the program is idle again, as the step goes on with the file.
std::optional<std::string> RunFileDialog(QFileDialog& dialog);

}  // namespace lumbra
