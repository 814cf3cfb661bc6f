#pragma once
// What the faulty disk does wrong, in sectors of 512 bytes: areas that always fail, slow areas,
// weak sectors that read on a later attempt, and a point after which the whole disk fails.
// Read from and written as a small JSON document (docs/faulty_disk.md shows the format).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumbra::faulty {

struct SectorArea {
    uint64_t start = 0;
    uint64_t count = 0;
    bool touches(uint64_t first, uint64_t sectors) const { return first < start + count && start < first + sectors; }
};

struct SlowArea {
    SectorArea area;
    uint32_t delayMs = 0;  // spent on every read that touches the area
};

struct WeakArea {
    SectorArea area;
    uint32_t readsOnAttempt = 2;  // the attempts before this one on a sector fail
};

struct FaultPlan {
    std::vector<SectorArea> unreadable;
    std::vector<SlowArea> slow;
    std::vector<WeakArea> weak;
    uint32_t failDelayMs = 3;                 // spent on every failed read
    std::optional<uint64_t> dieAfterReads;    // reads answered before every read fails
    std::optional<uint64_t> dieAfterBytes;    // bytes served before every read fails
};

// nullopt with `error` set when the text is not a plan (bad JSON, a field of the wrong kind, an
// unknown field, a count of 0 or an area past 2^48 sectors).
std::optional<FaultPlan> ParseFaultPlan(const std::string& text, std::string& error);
std::string FaultPlanJson(const FaultPlan& plan);

}  // namespace lumbra::faulty
