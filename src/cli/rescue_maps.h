#pragma once
// --mapfile MAP: the rescue map of the --image given just before it.
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "cli/cli_context.h"

namespace lumbra::cli {

// (image, map) pairs in the order given; the error text when a --mapfile follows no --image.
std::variant<std::vector<std::pair<std::string, std::string>>, std::string> PairRescueMaps(
    const std::vector<std::string>& arguments);

// Reads each map and attaches it to its image's row. nullopt when all were read; otherwise
// the exit code after the message (2 with the line number for a malformed map, 1 for one that
// cannot be read). Areas past an image's end are ignored with a warning.
std::optional<int> AttachRescueMaps(CliContext& context, const std::vector<std::pair<std::string, std::string>>& maps);

}  // namespace lumbra::cli
