#pragma once
// A fresh folder under the system's temporary folder, removed with the object. It lies one level
// down in a fresh folder of its own, so that a file a fault lets escape by ".." lands in the
// test's own folder too, goes with it, and cannot decide a later run. Every recovery report left
// in it is checked against the DFXML schema before it goes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/dfxml_schema.h"

namespace lumbra::test {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        static std::atomic<int> counter{0};
        root_ = std::filesystem::temp_directory_path() /
                ("lumbra_" + name + "_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
        path_ = root_ / name;
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        if (const std::string problems = ReportSchemaProblemsUnder(root_); !problems.empty())
            ADD_FAILURE() << "a report is not valid DFXML:\n" << problems;
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Writes a file of whole sectors, sector s filled with the byte (s * 7 + 1).
    std::string numberedImage(const std::string& name, size_t sectors) const {
        std::ofstream out(path_ / name, std::ios::binary);
        for (size_t s = 0; s < sectors; ++s) {
            std::vector<char> sector(512, static_cast<char>(s * 7 + 1));
            out.write(sector.data(), static_cast<std::streamsize>(sector.size()));
        }
        return file(name);
    }

private:
    std::filesystem::path root_;
    std::filesystem::path path_;
};

}  // namespace lumbra::test
