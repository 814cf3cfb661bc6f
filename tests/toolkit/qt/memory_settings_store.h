#pragma once
// A settings store in memory, standing in for the user's store in tests.
#include <map>
#include <utility>

#include "platform/settings_store.h"

namespace lumbra::testing {

class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> readString(const std::string& key, const std::string& name) const override {
        const auto it = strings.find({key, name});
        if (it == strings.end()) return std::nullopt;
        return it->second;
    }
    std::optional<uint32_t> readNumber(const std::string& key, const std::string& name) const override {
        const auto it = numbers.find({key, name});
        if (it == numbers.end()) return std::nullopt;
        return it->second;
    }
    bool writeString(const std::string& key, const std::string& name, const std::string& value) override {
        strings[{key, name}] = value;
        return true;
    }
    bool writeNumber(const std::string& key, const std::string& name, uint32_t value) override {
        numbers[{key, name}] = value;
        return true;
    }

    std::map<std::pair<std::string, std::string>, std::string> strings;
    std::map<std::pair<std::string, std::string>, uint32_t> numbers;
};

}  // namespace lumbra::testing
