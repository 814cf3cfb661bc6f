#pragma once
// What a running mount tells its front end. The wizard shows these in its labels, status line
// and progress bar; the command line prints a progress line; tests record them.
#include <cstdint>
#include <string_view>

namespace lumbra {

class MountEvents {
public:
    virtual ~MountEvents() = default;
    // The disk sector being read ("Current Sector").
    virtual void currentSector(uint64_t sector) = 0;
    // The folder counter after an admission ("Folder(s) Found").
    virtual void foldersFound(uint32_t count) = 0;
    // The file counter after a file record was read ("File(s) Found").
    virtual void filesFound(uint32_t count) = 0;
    // The name of the last folder or file record read ("Last File/Folder").
    virtual void lastFileFolder(std::string_view name) = 0;
    // The status line below the wizard.
    virtual void statusLine(std::string_view text) = 0;
    // The main progress bar, 0..100.
    virtual void progress(uint32_t percent) = 0;
};

// For callers that do not watch a mount.
class NoMountEvents : public MountEvents {
public:
    void currentSector(uint64_t) override {}
    void foldersFound(uint32_t) override {}
    void filesFound(uint32_t) override {}
    void lastFileFolder(std::string_view) override {}
    void statusLine(std::string_view) override {}
    void progress(uint32_t) override {}
};

}  // namespace lumbra
