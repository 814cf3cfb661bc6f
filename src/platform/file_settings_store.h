#pragma once
// The per-user settings store on Linux: one small text file, by default
// $XDG_CONFIG_HOME/lumbra-nss/settings.ini (or ~/.config/...). Each key is a section
// ("[Software\\Lumbra\\MarkupMessageBox]"), each value a line "name=s:text" or "name=n:number".
// A write replaces the file through a temporary file and a rename, so that a failed write
// never leaves a half-written store behind.
#include <map>
#include <string>

#include "platform/settings_store.h"

namespace lumbra {

class FileSettingsStore : public SettingsStore {
public:
    explicit FileSettingsStore(std::string path);

    // Where the store of this user lives; empty when neither XDG_CONFIG_HOME nor HOME is set.
    static std::string DefaultPath();

    std::optional<std::string> readString(const std::string& key, const std::string& name) const override;
    std::optional<uint32_t> readNumber(const std::string& key, const std::string& name) const override;
    bool writeString(const std::string& key, const std::string& name, const std::string& value) override;
    bool writeNumber(const std::string& key, const std::string& name, uint32_t value) override;

    const std::string& path() const { return path_; }

private:
    using Values = std::map<std::string, std::map<std::string, std::string>>;

    Values load() const;
    bool save(const Values& values) const;
    std::optional<std::string> readRaw(const std::string& key, const std::string& name) const;
    bool writeRaw(const std::string& key, const std::string& name, const std::string& typed);

    std::string path_;
};

// The process's store at the default path (shared by every window that remembers answers).
SettingsStore& DefaultSettingsStore();

}  // namespace lumbra
