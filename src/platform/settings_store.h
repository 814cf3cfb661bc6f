#pragma once
// Per-user remembered values: what the desktop's registry held for the toolkit (remembered
// message-box answers, the desktop theme). Keys are paths such as
// "Software\\Lumbra\\MessageBox\\<name>", names are value names within a key.
#include <cstdint>
#include <optional>
#include <string>

namespace lumbra {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> readString(const std::string& key, const std::string& name) const = 0;
    virtual std::optional<uint32_t> readNumber(const std::string& key, const std::string& name) const = 0;
    virtual bool writeString(const std::string& key, const std::string& name, const std::string& value) = 0;
    virtual bool writeNumber(const std::string& key, const std::string& name, uint32_t value) = 0;
};

}  // namespace lumbra
