#pragma once
// The message that ends every recovery run of the desktop: what was saved, what was not, and
// where the files and the report are.
#include <string>

#include "app/view.h"
#include "recovery/recovery_run.h"

namespace lumbra {

// Markup for the application's message box; the destination and report paths are shown as
// literal text.
std::string RecoveryRunMessage(const RecoveryRunResult& run, const std::string& destination);

// The sign of that message: a warning when a file is damaged, cut short by more than a stop, or
// could not be written.
MessageKind RecoveryRunMessageKind(const RecoveryRunResult& run);

// The refusal of a destination folder in which no file can be created, with the system's reason.
std::string DestinationNotWritableText(const std::string& folder, const std::string& reason);

// Text that shows as itself in markup: no tag, entity or line break can come from it.
std::string MarkupLiteral(const std::string& text);

// A path of this machine (UTF-8) as the message's markup shows it, literally.
std::string HostPathMarkup(const std::string& path);

}  // namespace lumbra
