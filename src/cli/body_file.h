#pragma once
// list --bodyfile: the body file of the sleuthkit (version 3), from which mactime makes a
// timeline: MD5|name|inode|mode_as_string|UID|GID|size|atime|mtime|ctime|crtime.
#include <ostream>

#include "cli/volume_path.h"
#include "recovery/record_lists.h"

namespace lumbra::cli {

// One line per folder, then per file, in list order: MD5 0, the path on the volume (control
// bytes and "|" written as \xNN), the object id, the kind, UID and GID 0, the size, and the
// record's time as mtime (0 when it is unknown, as every other time).
void PrintBodyFile(std::ostream& out, const RecoveredTree& tree, const ListScope& scope = {});

}  // namespace lumbra::cli
