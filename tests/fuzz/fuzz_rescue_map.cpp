// The rescue mapfile reader. The input's first four bytes give the image size
// (little-endian), the rest is the map's text. An accepted map's areas are in order and
// apart, and the sectors it marks, merged into a drive's damage map, stay so.
#include "disk/damage_map.h"
#include "disk/rescue_map.h"
#include "fuzz_input.h"

using namespace lumbra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const uint64_t imageBytes = data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint64_t>(data[3]) << 24;
    const std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);
    const auto parsed = ParseRescueMap(text);
    if (!std::holds_alternative<RescueMap>(parsed)) {
        FUZZ_CHECK(!std::get<RescueMapError>(parsed).message.empty());
        return 0;
    }
    const RescueMap& map = std::get<RescueMap>(parsed);
    uint64_t previousEnd = 0;
    for (const ByteArea& area : map.unrescued) {
        FUZZ_CHECK(area.size > 0);
        FUZZ_CHECK(area.position >= previousEnd);
        FUZZ_CHECK(area.size <= map.coveredEnd - area.position);
        previousEnd = area.position + area.size;
    }

    const std::vector<SectorRange> sectors = UnrescuedSectors(map, imageBytes);
    FUZZ_CHECK(RescueMapSizeWarning(map, imageBytes).has_value() == (map.coveredEnd != imageBytes));
    const uint64_t imageSectors = (imageBytes + kSectorSize - 1) / kSectorSize;
    DamageMap damage;
    uint64_t total = 0;
    for (size_t i = 0; i < sectors.size(); ++i) {
        FUZZ_CHECK(sectors[i].count > 0 && sectors[i].end() <= imageSectors);
        if (i > 0) FUZZ_CHECK(sectors[i].first > sectors[i - 1].end());
        damage.add(sectors[i].first, sectors[i].count);
        total += sectors[i].count;
    }
    FUZZ_CHECK(damage.ranges() == sectors);
    FUZZ_CHECK(damage.sectorTotal() == total);
    return 0;
}
