#pragma once
// Command-line parsing: options may stand before or after the command's arguments, take their
// value as "--name VALUE" or "--name=VALUE", and "--" ends the options.
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "disk/number_text.h"

namespace lumbra::cli {

struct OptionSpec {
    std::string name;    // with the leading dashes, e.g. "--drive"
    int values = 0;      // 0 for a flag, else the number of values that follow
    bool repeatable = false;
};

struct ParsedArguments {
    std::vector<std::string> positional;
    std::map<std::string, std::vector<std::vector<std::string>>> options;  // each use with its values

    bool has(const std::string& name) const { return options.count(name) != 0; }
    // The value of the last use of an option with one value.
    std::optional<std::string> value(const std::string& name) const;
    // Every value of a repeatable option with one value, in order.
    std::vector<std::string> values(const std::string& name) const;
    // The values of the last use of an option with several values.
    std::vector<std::string> group(const std::string& name) const;
};

// Parses arguments against the known options; the error text names the offending argument.
std::variant<ParsedArguments, std::string> ParseArguments(const std::vector<std::string>& arguments,
                                                          const std::vector<OptionSpec>& specs);

using lumbra::ParseSectorArgument;
using lumbra::ParseUnsigned;

}  // namespace lumbra::cli
