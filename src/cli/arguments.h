#pragma once
// Command-line parsing: options may stand before or after the command's arguments, take their
// value as "--name VALUE" or "--name=VALUE", and "--" ends the options.
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

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

// An unsigned decimal number within [low, high]; nullopt for anything else (signs, blanks,
// other characters, overflow).
std::optional<uint64_t> ParseUnsigned(const std::string& text, uint64_t low, uint64_t high);

// Ends a byte position where a sector is asked for: mapfiles count bytes, the commands sectors.
// Upper-case B stays a hexadecimal digit.
constexpr char kBytePositionSuffix = 'b';

// A sector number within [low, high], in decimal or, after "0x" or "0X", in hexadecimal; or,
// ending in kBytePositionSuffix, a byte position in either form, which names the sector holding
// that byte (0x18D000b is sector 0xC68).
std::optional<uint64_t> ParseSectorArgument(const std::string& text, uint64_t low, uint64_t high);

}  // namespace lumbra::cli
