#include "recovery/file_list_import.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <unordered_map>
#include <unordered_set>

#include "disk/text_encoding.h"
#include "recovery/folder_path.h"
#include "recovery/name_match.h"

namespace lumbra {

namespace {

using Json = nlohmann::json;

// "\" separators and a leading "\", as Find Files writes a path.
std::string VolumePath(std::string_view utf8) {
    std::string path = Utf8ToLatin1(utf8);
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.empty() || path.front() != '\\') path.insert(path.begin(), '\\');
    return path;
}

FileListRead Problem(std::string text) { return {{}, std::move(text)}; }

// How the export's CSV begins, in every form it has had.
constexpr std::string_view kCsvStart = "path,size,date,condition,";

FileListRead ReadJson(std::string_view text) {
    const Json document = Json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_object()) return Problem("it is not valid JSON");
    if (const auto format = document.find("format"); format != document.end() && *format != 1)
        return Problem("its format " + format->dump() + " is not known");
    auto entries = document.find("files");
    if (entries == document.end()) entries = document.find("matches");
    if (entries == document.end() || !entries->is_array()) return Problem("it has no \"files\" or \"matches\" list");
    FileListRead read;
    for (const Json& entry : *entries) {
        const auto path = entry.is_object() ? entry.find("path") : entry.end();
        if (!entry.is_object() || path == entry.end() || !path->is_string())
            return Problem("entry " + std::to_string(read.paths.size() + 1) + " has no \"path\"");
        std::string full = path->get<std::string>();
        if (const auto name = entry.find("name"); name != entry.end()) {
            if (!name->is_string()) return Problem("entry " + std::to_string(read.paths.size() + 1) + " has a bad \"name\"");
            if (full.empty() || (full.back() != '\\' && full.back() != '/')) full += '\\';
            full += name->get<std::string>();
        }
        read.paths.push_back(VolumePath(full));
    }
    return read;
}

// The first field of every record after the header line, in the CSV the export writes: a field
// in double quotes may hold commas, line ends and doubled quotes.
FileListRead ReadCsv(std::string_view text) {
    FileListRead read;
    std::string field;
    size_t column = 0;
    bool quoted = false;
    bool header = true;
    for (size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (quoted) {
            if (c == '"' && at + 1 < text.size() && text[at + 1] == '"') {
                ++at;
                if (column == 0) field += '"';
            } else if (c == '"') {
                quoted = false;
            } else if (column == 0) {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            ++column;
        } else if (c == '\n') {
            if (!header && !field.empty()) read.paths.push_back(VolumePath(field));
            header = false;
            field.clear();
            column = 0;
        } else if (column == 0 && c != '\r') {
            field += c;
        }
    }
    if (quoted) return Problem("a quoted field has no end");
    if (!header && !field.empty()) read.paths.push_back(VolumePath(field));
    return read;
}

}  // namespace

FileListRead ReadFileList(std::string_view text) {
    if (text.size() > kMaxFileListBytes) return Problem("it is too large");
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text[first] == '{') return ReadJson(text);
    if (text.starts_with(kCsvStart)) return ReadCsv(text);
    FileListRead read;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t") != std::string_view::npos) read.paths.push_back(VolumePath(line));
        start = end + 1;
    }
    return read;
}

FileListMatch MatchFileList(const RecoveredTree& tree, const std::vector<std::string>& paths) {
    std::unordered_map<std::string, std::vector<size_t>> byPath;
    std::unordered_map<std::string, std::vector<size_t>> byUpperPath;
    for (size_t index = 0; index < tree.files().size(); ++index) {
        const std::string path = FindFilesFilePath(tree, tree.files()[index]);
        byUpperPath[UpperCase8Bit(path)].push_back(index);
        byPath[path].push_back(index);
        // A renamed file or folder is found by the volume's path too, the one exports write.
        if (const std::string volumePath = VolumeFilePath(tree, tree.files()[index]); volumePath != path) {
            byUpperPath[UpperCase8Bit(volumePath)].push_back(index);
            byPath[volumePath].push_back(index);
        }
    }
    FileListMatch match;
    std::unordered_set<size_t> chosen;
    for (const std::string& path : paths) {
        auto found = byPath.find(path);
        if (found == byPath.end()) found = byUpperPath.find(UpperCase8Bit(path));
        if (found == byPath.end() || found == byUpperPath.end()) {
            match.notFound.push_back(path);
            continue;
        }
        chosen.insert(found->second.begin(), found->second.end());
    }
    match.fileIndexes.assign(chosen.begin(), chosen.end());
    std::sort(match.fileIndexes.begin(), match.fileIndexes.end());
    return match;
}

}  // namespace lumbra
