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

}  // namespace

FileListRead ReadFileList(std::string_view text) {
    if (text.size() > kMaxFileListBytes) return Problem("it is too large");
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text[first] == '{') return ReadJson(text);
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
