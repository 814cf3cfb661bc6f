#include "cli/body_file.h"

#include "cli/record_json.h"
#include "cli/terminal_text.h"
#include "recovery/folder_path.h"
#include "recovery/item_record.h"

namespace lumbra::cli {
namespace {

// The name column: "|" separates the columns, so it is written as an escape.
std::string BodyName(const std::string& utf8Path) {
    std::string text = TerminalUtf8(utf8Path);
    for (size_t at = text.find('|'); at != std::string::npos; at = text.find('|', at + 4)) text.replace(at, 1, "\\x7c");
    return text;
}

void PrintLine(std::ostream& out, const std::string& path, const ItemRecord& record, const char* mode, int64_t size) {
    const uint32_t mtime = record.timeStamp <= kTimeStampLimit ? record.timeStamp : 0;
    out << "0|" << BodyName(path) << "|" << record.objectId << "|" << mode << "|0|0|" << (size < 0 ? 0 : size) << "|0|" << mtime
        << "|0|0\n";
}

}  // namespace

void PrintBodyFile(std::ostream& out, const RecoveredTree& tree, const ListScope& scope) {
    for (const ItemRecord& folder : tree.folders())
        if (scope.shows(tree, folder)) PrintLine(out, FolderPath(tree, folder), folder, "d/drwxrwxrwx", 0);
    for (const ItemRecord& file : tree.files())
        if (scope.shows(tree, file)) PrintLine(out, FullFilePath(tree, file), file, "r/rrwxrwxrwx", file.size);
}

}  // namespace lumbra::cli
