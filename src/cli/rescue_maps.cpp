#include "cli/rescue_maps.h"

#include <cstdint>

#include "cli/exit_codes.h"

namespace lumbra::cli {

std::variant<std::vector<std::pair<size_t, std::string>>, std::string> PairRescueMaps(
    const std::vector<std::string>& arguments) {
    std::vector<std::pair<size_t, std::string>> pairs;
    size_t images = 0;
    // The index of the --image a --mapfile may still follow; none after a --mapfile took it.
    constexpr size_t kNone = SIZE_MAX;
    size_t image = kNone;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") break;
        const bool joined = argument.rfind("--image=", 0) == 0 || argument.rfind("--mapfile=", 0) == 0;
        const bool separate = (argument == "--image" || argument == "--mapfile") && i + 1 < arguments.size();
        if (!joined && !separate) continue;
        const std::string value = joined ? argument.substr(argument.find('=') + 1) : arguments[++i];
        if (argument.rfind("--image", 0) == 0) {
            image = images++;
            continue;
        }
        if (image == kNone) return std::string("--mapfile MAP follows the --image PATH it belongs to");
        pairs.emplace_back(image, value);
        image = kNone;
    }
    return pairs;
}

std::optional<int> ReadRescueMaps(CliContext& context, const std::vector<std::pair<size_t, std::string>>& maps,
                                  DriveSources& sources) {
    for (const auto& [image, mapPath] : maps) {
        auto parsed = ReadRescueMapFile(mapPath);
        if (auto* error = std::get_if<RescueMapError>(&parsed))
            return context.fail(kExitBadInput, RescueMapErrorText(mapPath, *error));
        sources.rescueMaps.emplace_back(image, std::move(std::get<RescueMap>(parsed)));
        sources.rescueMapFiles.push_back(mapPath);
    }
    return std::nullopt;
}

}  // namespace lumbra::cli
