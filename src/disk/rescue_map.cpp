#include "disk/rescue_map.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>

#include "disk/sector.h"

namespace lumbra {
namespace {

// The blank-separated words of one line, up to a "#" that begins the line or follows a blank
// (the rest of the line is a comment).
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    const auto blank = [&line](size_t at) { return line[at] == ' ' || line[at] == '\t' || line[at] == '\r'; };
    while (i < line.size()) {
        while (i < line.size() && blank(i)) ++i;
        if (i < line.size() && line[i] == '#') break;
        const size_t start = i;
        while (i < line.size() && !blank(i)) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

// A number written as in C: hexadecimal after "0x" or "0X", octal after a leading "0", else
// decimal; an optional "+" before it.
std::optional<uint64_t> Number(std::string_view word) {
    if (!word.empty() && word[0] == '+') word.remove_prefix(1);
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        word.remove_prefix(2);
        base = 16;
    } else if (word.size() > 1 && word[0] == '0') {
        word.remove_prefix(1);
        base = 8;
    }
    if (word.empty() || word[0] == '+' || word[0] == '-') return std::nullopt;
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

// The pass of the status line, when the word begins with a number: its leading decimal digits,
// a positive number. A word that begins otherwise is a later copier's field and is not read.
std::optional<std::string> PassError(std::string_view word) {
    const std::string text(word);
    const bool negative = !word.empty() && word[0] == '-';
    if (!word.empty() && (word[0] == '+' || negative)) word.remove_prefix(1);
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (end == word.data()) return std::nullopt;
    if (error != std::errc() || negative || value == 0) return "bad pass number " + text + " (a pass counts from 1)";
    return std::nullopt;
}

// A status is the first character of its word; what follows it on the line is not read.
bool IsAreaStatus(std::string_view word) { return std::string_view("?*/-+").find(word[0]) != std::string_view::npos; }

bool IsCopyStatus(std::string_view word) { return std::string_view("?*/-FG+").find(word[0]) != std::string_view::npos; }

// Checks the status line: a position, the copier's state, and optionally its pass number and
// further fields of later copiers, which are not read.
std::optional<std::string> StatusLineError(const std::vector<std::string_view>& words) {
    if (words.size() < 2) return "the status line holds a position, a state and a pass";
    if (!Number(words[0])) return "bad position " + std::string(words[0]);
    if (!IsCopyStatus(words[1])) return "unknown copy state " + std::string(words[1]);
    return words.size() >= 3 ? PassError(words[2]) : std::nullopt;
}

void AddArea(std::vector<ByteArea>& areas, uint64_t position, uint64_t size) {
    if (size == 0) return;
    if (!areas.empty() && areas.back().position + areas.back().size == position)
        areas.back().size += size;
    else
        areas.push_back({position, size});
}

// The sectors of an image that hold any byte of the areas, or of the bytes past the map's
// last area; areas past the image end are left out.
std::vector<SectorRange> AreaSectors(std::vector<ByteArea> areas, uint64_t coveredEnd, uint64_t imageBytes) {
    std::vector<SectorRange> sectors;
    if (coveredEnd < imageBytes) areas.push_back({coveredEnd, imageBytes - coveredEnd});
    for (const ByteArea& area : areas) {
        if (area.position >= imageBytes) break;
        const uint64_t end = std::min(imageBytes, area.position + area.size);
        const uint64_t first = area.position / kSectorSize;
        const uint64_t last = (end - 1) / kSectorSize;
        if (!sectors.empty() && sectors.back().end() >= first)
            sectors.back().count = last + 1 - sectors.back().first;
        else
            sectors.push_back({first, last + 1 - first});
    }
    return sectors;
}

}  // namespace

std::variant<RescueMap, RescueMapError> ParseRescueMap(std::string_view text) {
    RescueMap map;
    bool statusSeen = false;
    size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        const std::vector<std::string_view> words = Words(line);
        if (words.empty()) continue;
        if (!statusSeen) {
            if (auto error = StatusLineError(words)) return RescueMapError{lineNumber, *error};
            statusSeen = true;
            continue;
        }
        if (words.size() < 3) return RescueMapError{lineNumber, "an area line holds a position, a size and a status"};
        const auto position = Number(words[0]);
        const auto size = Number(words[1]);
        if (!position) return RescueMapError{lineNumber, "bad position " + std::string(words[0])};
        if (!size) return RescueMapError{lineNumber, "bad size " + std::string(words[1])};
        if (!IsAreaStatus(words[2])) return RescueMapError{lineNumber, "unknown status " + std::string(words[2])};
        if (*position < map.coveredEnd)
            return RescueMapError{lineNumber, "the area overlaps or comes before the area above it"};
        // The map of an empty domain holds an area of size 0, at 0; nowhere else is one.
        if (*size == 0 && *position != 0) return RescueMapError{lineNumber, "an area of size 0 past position 0"};
        if (*size == 0) continue;
        if (*size > std::numeric_limits<uint64_t>::max() - *position)
            return RescueMapError{lineNumber, "the area ends past the largest position"};
        AddArea(map.unrescued, map.coveredEnd, *position - map.coveredEnd);
        AddArea(map.untried, map.coveredEnd, *position - map.coveredEnd);
        if (words[2][0] != '+') AddArea(map.unrescued, *position, *size);
        if (words[2][0] == '?') AddArea(map.untried, *position, *size);
        map.coveredEnd = *position + *size;
    }
    if (!statusSeen)
        return RescueMapError{lineNumber + 1, lineNumber == 0 ? "no status line: the file is empty"
                                                              : "no status line before the end of the file"};
    return map;
}

std::variant<RescueMap, RescueMapError> ReadRescueMapFile(const std::string& path) {
    // A map holds a line per area; a file larger than this is no map.
    constexpr uint64_t kMaxMapBytes = 256u << 20;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return RescueMapError{0, std::strerror(errno)};
    if (S_ISDIR(status.st_mode)) return RescueMapError{0, "a folder, not a rescue map"};
    if (!S_ISREG(status.st_mode)) return RescueMapError{0, "not a regular file"};
    if (static_cast<uint64_t>(status.st_size) > kMaxMapBytes)
        return RescueMapError{0, "too large to be a rescue map (more than 256 MiB)"};
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    std::string text(static_cast<size_t>(status.st_size), '\0');
    if (!file || !file.read(text.data(), static_cast<std::streamsize>(text.size())))
        return RescueMapError{0, errno != 0 ? std::strerror(errno) : "cannot be read"};
    return ParseRescueMap(text);
}

std::string RescueMapErrorText(const std::string& path, const RescueMapError& error) {
    if (error.line == 0) return "rescue map " + path + ": " + error.message;
    return "rescue map " + path + " line " + std::to_string(error.line) + ": " + error.message;
}

std::optional<std::string> RescueMapSizeWarning(const RescueMap& map, uint64_t imageBytes) {
    if (map.coveredEnd == imageBytes) return std::nullopt;
    return "the mapfile covers " + std::to_string(map.coveredEnd) + " bytes but the image holds " +
           std::to_string(imageBytes) + " bytes; " +
           (map.coveredEnd < imageBytes ? "sectors it does not cover are treated as not rescued"
                                        : "areas past the image end are ignored");
}

std::vector<SectorRange> UnrescuedSectors(const RescueMap& map, uint64_t imageBytes) {
    // Bytes past the map's last area but inside the image were never rescued either.
    return AreaSectors(map.unrescued, map.coveredEnd, imageBytes);
}

std::vector<SectorRange> UntriedSectors(const RescueMap& map, uint64_t imageBytes) {
    return AreaSectors(map.untried, map.coveredEnd, imageBytes);
}

std::string DomainMapText(const std::vector<SectorRange>& domain, uint64_t diskSectors) {
    // The domain cut at the disk's end, touching ranges joined.
    std::vector<SectorRange> areas;
    for (const SectorRange& range : domain) {
        const uint64_t first = std::min(range.first, diskSectors);
        const uint64_t end = std::clamp(range.end(), first, diskSectors);
        if (end == first) continue;
        if (!areas.empty() && areas.back().end() >= first) areas.back().count = std::max(areas.back().end(), end) - areas.back().first;
        else areas.push_back({first, end - first});
    }
    std::ostringstream text;
    text << std::hex << "# Rescue domain: the sectors to read are marked \"+\"\n"
         << "# current_pos  current_status  current_pass\n0x00000000     ?               1\n"
         << "#      pos        size  status\n";
    const auto line = [&text](uint64_t first, uint64_t end, char status) {
        if (end > first) text << "0x" << first * kSectorSize << "  0x" << (end - first) * kSectorSize << "  " << status << "\n";
    };
    uint64_t done = 0;  // the sectors written so far
    for (const SectorRange& area : areas) {
        line(done, area.first, '?');
        line(area.first, area.end(), '+');
        done = area.end();
    }
    line(done, diskSectors, '?');
    return text.str();
}

}  // namespace lumbra
