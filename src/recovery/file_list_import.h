#pragma once
// A list of files to recover, as a person writes it (one volume path a line, with "\" or "/")
// or as the JSON of list, find or the exported file list gives it, and the files of a
// recovered tree it names.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "recovery/record_lists.h"

namespace lumbra {

// The longest list read: a million paths of a few dozen characters.
constexpr size_t kMaxFileListBytes = 64u << 20;

struct FileListRead {
    std::vector<std::string> paths;  // 8-bit volume paths with "\", each starting with "\"
    std::string problem;             // why the text is not a list; empty when it is
};

// Text whose first character (after blanks) is "{" is JSON: {"files":[...]} (list, the export)
// or {"matches":[...]} (find), each entry's "path" joined with its "name" when it has one; a
// "format" other than 1 is refused. Text that starts as the export's CSV header is that CSV,
// whose first column is the path. Any other text is one path a line; blank lines are passed
// over and line ends may be CR LF. Paths are UTF-8 and become 8-bit text.
FileListRead ReadFileList(std::string_view text);

struct FileListMatch {
    std::vector<size_t> fileIndexes;    // in file-list order, each once
    std::vector<std::string> notFound;  // paths of the list no file has, in list order
};

// The files whose Find Files path and name, or whose path by the volume's names (before any
// rename), is one of the paths: those of the same letter case
// when there are any, else those equal but for letter case (find lists names upper-cased).
FileListMatch MatchFileList(const RecoveredTree& tree, const std::vector<std::string>& paths);

}  // namespace lumbra
