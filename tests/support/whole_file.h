#pragma once
// Whole files read and written at once, for tests that compare what landed on the disk.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "recovery/run_ledger.h"

namespace lumbra::test {

inline std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Every file a recovery wrote below a folder, by its path relative to it, with its bytes: the
// regular files there, less the ledger an extract keeps of them.
inline std::map<std::string, std::vector<uint8_t>> FolderContents(const std::filesystem::path& root) {
    std::map<std::string, std::vector<uint8_t>> contents;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().filename() == kRunLedgerName) continue;
        contents[std::filesystem::relative(entry.path(), root).string()] = ReadWholeFile(entry.path());
    }
    return contents;
}

}  // namespace lumbra::test
