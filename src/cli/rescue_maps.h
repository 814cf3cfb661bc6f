#pragma once
// --mapfile MAP: the rescue map of the --image given just before it.
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "cli/cli_context.h"

namespace lumbra::cli {

// (image, map) pairs in the order given, the image as its index among the --image options (the
// same file given twice is two drive rows); the error text when a --mapfile follows no --image.
std::variant<std::vector<std::pair<size_t, std::string>>, std::string> PairRescueMaps(
    const std::vector<std::string>& arguments);

// Reads each map into the drive sources. nullopt when all were read; otherwise 2 after a
// message that names the map, the line (for a malformed one) and the reason.
std::optional<int> ReadRescueMaps(CliContext& context, const std::vector<std::pair<size_t, std::string>>& maps,
                                  DriveSources& sources);

}  // namespace lumbra::cli
