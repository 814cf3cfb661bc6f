#include "cli/arguments.h"

#include <algorithm>
#include <limits>

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

std::optional<uint64_t> ParseUnsigned(const std::string& text, uint64_t low, uint64_t high) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    uint64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (number > (std::numeric_limits<uint64_t>::max() - digit) / 10) return std::nullopt;
        number = number * 10 + digit;
    }
    if (number < low || number > high) return std::nullopt;
    return number;
}

namespace {

// An unsigned number in decimal or, after "0x" or "0X", in hexadecimal.
std::optional<uint64_t> ParseDecimalOrHex(const std::string& text) {
    if (text.size() < 2 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return ParseUnsigned(text, 0, UINT64_MAX);
    const std::string digits = text.substr(2);
    if (digits.empty() || digits.size() > 16) return std::nullopt;
    uint64_t number = 0;
    for (char c : digits) {
        const char lower = static_cast<char>(c | 0x20);
        uint64_t digit = 0;
        if (c >= '0' && c <= '9') digit = static_cast<uint64_t>(c - '0');
        else if (lower >= 'a' && lower <= 'f') digit = static_cast<uint64_t>(lower - 'a' + 10);
        else return std::nullopt;
        number = number << 4 | digit;
    }
    return number;
}

}  // namespace

std::optional<uint64_t> ParseSectorArgument(const std::string& text, uint64_t low, uint64_t high) {
    const bool bytes = text.size() > 1 && text.back() == kBytePositionSuffix;
    auto number = ParseDecimalOrHex(bytes ? text.substr(0, text.size() - 1) : text);
    if (number && bytes) *number /= kSectorSize;
    if (!number || *number < low || *number > high) return std::nullopt;
    return number;
}

}  // namespace lumbra::cli
