#pragma once
// The mount's progress, written into the MountProgress layout of the wizard's View. The mount
// reports every record it reads; a view that cannot show values that fast is handed only the
// latest ones whenever it is ready for them, and every value still unshown at the end.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/view.h"
#include "recovery/mount_events.h"

namespace lumbra {

class MountDisplay : public MountEvents {
public:
    explicit MountDisplay(View& view) : view_(view) {}

    void currentSector(uint64_t sector) override;
    void foldersFound(uint32_t count) override;
    void filesFound(uint32_t count) override;
    void lastFileFolder(std::string_view name) override;
    void statusLine(std::string_view text) override;
    void progress(uint32_t percent) override;

    // Hands the view the values it has not been given yet; before the view's next other call.
    void flush();

private:
    enum Value : uint32_t { kSector = 1, kFolders = 2, kFiles = 4, kName = 8, kStatus = 16, kPercent = 32 };

    void changed(Value value);

    View& view_;
    uint32_t unshown_ = 0;
    uint64_t sector_ = 0;
    uint32_t folders_ = 0;
    uint32_t files_ = 0;
    uint32_t percent_ = 0;
    std::string name_;
    std::string status_;
};

}  // namespace lumbra
