#include "cli/arguments.h"

#include <algorithm>

#include "disk/sector.h"

namespace lumbra::cli {

std::optional<std::string> ParsedArguments::value(const std::string& name) const {
    auto it = options.find(name);
    if (it == options.end() || it->second.empty() || it->second.back().empty()) return std::nullopt;
    return it->second.back().front();
}

std::vector<std::string> ParsedArguments::values(const std::string& name) const {
    std::vector<std::string> all;
    auto it = options.find(name);
    if (it == options.end()) return all;
    for (const auto& use : it->second)
        if (!use.empty()) all.push_back(use.front());
    return all;
}

std::vector<std::string> ParsedArguments::group(const std::string& name) const {
    auto it = options.find(name);
    if (it == options.end() || it->second.empty()) return {};
    return it->second.back();
}

std::variant<ParsedArguments, std::string> ParseArguments(const std::vector<std::string>& arguments,
                                                          const std::vector<OptionSpec>& specs) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-' || argument == "-") {
            parsed.positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        auto option = std::find_if(specs.begin(), specs.end(), [&](const OptionSpec& o) { return o.name == name; });
        if (option == specs.end()) return "unknown option " + name;
        if (!option->repeatable && parsed.has(name)) return "option " + name + " given twice";
        std::vector<std::string> values;
        if (equals != std::string::npos) {
            if (option->values != 1) return "option " + name + " does not take the NAME=VALUE form";
            values.push_back(argument.substr(equals + 1));
        } else {
            for (int v = 0; v < option->values; ++v) {
                if (i + 1 >= arguments.size()) return "option " + name + " needs " + std::to_string(option->values) +
                                                      (option->values == 1 ? " value" : " values");
                values.push_back(arguments[++i]);
            }
        }
        parsed.options[name].push_back(std::move(values));
    }
    return parsed;
}

}  // namespace lumbra::cli
