#pragma once
// The map a rescue copier leaves beside a disk image (GNU ddrescue's mapfile): which byte areas
// of the image were read from the failing disk and which were not. The parser is a pure
// function of the text; docs/format/rescue_map.md describes the format.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "disk/damage_map.h"

namespace lumbra {

// Bytes [position, position + size) of the image.
struct ByteArea {
    uint64_t position = 0;
    uint64_t size = 0;
    bool operator==(const ByteArea&) const = default;
};

struct RescueMap {
    // The areas whose bytes were never rescued, in order, not overlapping. Bytes no line of the
    // map covers count among them.
    std::vector<ByteArea> unrescued;
    // Those of them the copier never tried ("?", and bytes no line covers): the image holds
    // nothing read from the disk there, not even a failed attempt.
    std::vector<ByteArea> untried;
    // One past the last byte any line covers.
    uint64_t coveredEnd = 0;
};

struct RescueMapError {
    size_t line = 0;  // 1-based line of the text; 0 for the file as a whole
    std::string message;
};

std::variant<RescueMap, RescueMapError> ParseRescueMap(std::string_view text);

// Reads and parses a map file; a file that cannot be read, a folder or a file too large is an
// error of line 0.
std::variant<RescueMap, RescueMapError> ReadRescueMapFile(const std::string& path);

// "rescue map PATH line N: <reason>", or "rescue map PATH: <reason>" for the file as a whole.
std::string RescueMapErrorText(const std::string& path, const RescueMapError& error);

// The sectors of an image of imageBytes bytes that hold any byte not rescued; areas past the
// image end are left out (an area that only starts inside the image is cut at its end).
std::vector<SectorRange> UnrescuedSectors(const RescueMap& map, uint64_t imageBytes);

// The sectors of an image of imageBytes bytes that hold any byte the copier never tried, cut
// as UnrescuedSectors cuts them.
std::vector<SectorRange> UntriedSectors(const RescueMap& map, uint64_t imageBytes);

// The one warning for a map whose areas end before or after the image's end; nullopt when the
// map covers the image exactly.
std::optional<std::string> RescueMapSizeWarning(const RescueMap& map, uint64_t imageBytes);

// A map of a disk of diskSectors sectors in which the sectors of `domain` (sorted, disjoint) are
// marked rescued ("+") and every other sector never tried ("?"): one line per area, neighbours
// merged, the whole disk covered. Given to the copier as its domain, it reads only the "+" areas.
// Ranges, or parts of them, past the disk's end are left out.
std::string DomainMapText(const std::vector<SectorRange>& domain, uint64_t diskSectors);

}  // namespace lumbra
