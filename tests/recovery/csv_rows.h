#pragma once
// Reads the rows of a CSV text back (quoted fields, doubled quotes, "\r\n" row ends), as a
// spreadsheet would, to check what the recovery report wrote.
#include <string>
#include <vector>

namespace lumbra::test {

inline std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') rows.back().back() += text[++i];
        else if (c == '"') quoted = !quoted;
        else if (!quoted && c == ',') rows.back().emplace_back();
        else if (!quoted && c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            rows.emplace_back(1);
        } else rows.back().back() += c;
    }
    rows.pop_back();  // after the last line break
    return rows;
}

}  // namespace lumbra::test
