#include "platform/file_settings_store.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace lumbra {

namespace {

// Backslash, line ends and "=" would break the line format; they are written escaped.
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '=': out += "\\e"; break;
        case ']': out += "\\b"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 'e' ? '=' : c == 'b' ? ']' : c;
    }
    return out;
}

}  // namespace

FileSettingsStore::FileSettingsStore(std::string path) : path_(std::move(path)) {}

std::string FileSettingsStore::DefaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && *config == '/') {
        base = config;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.config";
    } else {
        return {};
    }
    return base + "/lumbra-nss/settings.ini";
}

FileSettingsStore::Values FileSettingsStore::load() const {
    Values values;
    std::ifstream in(path_);
    std::string line;
    std::string section;
    bool inSection = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = Unescape(line.substr(1, line.size() - 2));
            inSection = true;
            continue;
        }
        const size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos) continue;
        values[section][Unescape(line.substr(0, equals))] = line.substr(equals + 1);
    }
    return values;
}

bool FileSettingsStore::save(const Values& values) const {
    if (path_.empty()) return false;
    std::error_code error;
    const std::filesystem::path target(path_);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
    const std::string temporary = path_ + ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const auto& [section, names] : values) {
            out << '[' << Escape(section) << "]\n";
            for (const auto& [name, typed] : names) out << Escape(name) << '=' << typed << '\n';
        }
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, target, error);
    if (!error) return true;
    std::filesystem::remove(temporary, error);
    return false;
}

std::optional<std::string> FileSettingsStore::readRaw(const std::string& key, const std::string& name) const {
    const Values values = load();
    const auto section = values.find(key);
    if (section == values.end()) return std::nullopt;
    const auto value = section->second.find(name);
    if (value == section->second.end()) return std::nullopt;
    return value->second;
}

bool FileSettingsStore::writeRaw(const std::string& key, const std::string& name, const std::string& typed) {
    Values values = load();
    values[key][name] = typed;
    return save(values);
}

std::optional<std::string> FileSettingsStore::readString(const std::string& key, const std::string& name) const {
    const auto raw = readRaw(key, name);
    if (!raw || raw->rfind("s:", 0) != 0) return std::nullopt;
    return Unescape(raw->substr(2));
}

std::optional<uint32_t> FileSettingsStore::readNumber(const std::string& key, const std::string& name) const {
    const auto raw = readRaw(key, name);
    if (!raw || raw->rfind("n:", 0) != 0) return std::nullopt;
    char* end = nullptr;
    const std::string digits = raw->substr(2);
    const unsigned long long value = std::strtoull(digits.c_str(), &end, 10);
    if (digits.empty() || *end != '\0' || value > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(value);
}

bool FileSettingsStore::writeString(const std::string& key, const std::string& name, const std::string& value) {
    return writeRaw(key, name, "s:" + Escape(value));
}

bool FileSettingsStore::writeNumber(const std::string& key, const std::string& name, uint32_t value) {
    return writeRaw(key, name, "n:" + std::to_string(value));
}

SettingsStore& DefaultSettingsStore() {
    static FileSettingsStore store(FileSettingsStore::DefaultPath());
    return store;
}

}  // namespace lumbra
