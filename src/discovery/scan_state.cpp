#include "discovery/scan_state.h"

#include <nlohmann/json.hpp>

#include "discovery/partition_scan.h"

namespace lumbra {

namespace {

using Json = nlohmann::json;

constexpr int kFormat = 1;
constexpr std::string_view kKind = "lumbra-nss scan state";

// Pool names are 8-bit text; as hexadecimal they pass through JSON unchanged.
std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

std::optional<std::string> FromHex(const std::string& text) {
    if (text.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
        int value = 0;
        for (char c : {text[i], text[i + 1]}) {
            const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            if (digit < 0) return std::nullopt;
            value = value * 16 + digit;
        }
        bytes += static_cast<char>(value);
    }
    return bytes;
}

std::optional<uint64_t> Number(const Json& object, const char* key, uint64_t maximum) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_number_unsigned()) return std::nullopt;
    const auto value = found->get<uint64_t>();
    if (value > maximum) return std::nullopt;
    return value;
}

std::optional<std::vector<uint32_t>> Numbers(const Json& object, const char* key, size_t count) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_array() || found->size() != count) return std::nullopt;
    std::vector<uint32_t> values;
    for (const Json& item : *found) {
        if (!item.is_number_unsigned() || item.get<uint64_t>() > UINT32_MAX) return std::nullopt;
        values.push_back(static_cast<uint32_t>(item.get<uint64_t>()));
    }
    return values;
}

std::optional<PoolEntry> ReadPool(const Json& item) {
    if (!item.is_object()) return std::nullopt;
    const auto name = item.find("name");
    if (name == item.end() || !name->is_string()) return std::nullopt;
    auto bytes = FromHex(name->get<std::string>());
    const auto size = Number(item, "poolSize", UINT32_MAX);
    const auto count = Number(item, "segmentCount", kMaxSegments - 1);
    if (!bytes || bytes->size() > kMaxPoolNameLength || !size || !count) return std::nullopt;
    auto starts = Numbers(item, "segmentStart", *count);
    auto extents = Numbers(item, "segmentExtent", *count);
    if (!starts || !extents) return std::nullopt;
    PoolEntry pool;
    pool.name = std::move(*bytes);
    pool.poolSize = static_cast<uint32_t>(*size);
    pool.segmentCount = static_cast<uint32_t>(*count);
    pool.segmentStart = std::move(*starts);
    pool.segmentExtent = std::move(*extents);
    return pool;
}

ScanStateRead Problem(std::string text) { return {std::nullopt, std::move(text)}; }

ScanStateRead ReadState(const Json& document) {
    if (!document.is_object()) return Problem("it is not a scan state");
    const auto format = Number(document, "format", UINT32_MAX);
    const auto kind = document.find("kind");
    if (!format || kind == document.end() || *kind != kKind) return Problem("it is not a scan state");
    if (*format != kFormat) return Problem("its format " + std::to_string(*format) + " is not known");
    const auto drive = document.find("drive");
    const auto start = Number(document, "startSector", UINT32_MAX);
    const auto end = Number(document, "endSector", UINT32_MAX);
    const auto perRead = Number(document, "sectorsPerRead", kMaxSectorsPerRead);
    const auto next = Number(document, "nextSector", UINT32_MAX);
    if (drive == document.end() || !drive->is_string() || !start || !end || !perRead || !next)
        return Problem("a field is missing or out of bounds");
    ScanState state;
    state.driveIdentity = drive->get<std::string>();
    state.range = {static_cast<uint32_t>(*start), static_cast<uint32_t>(*end)};
    state.sectorsPerRead = static_cast<uint32_t>(*perRead);
    state.nextSector = *next;
    if (state.sectorsPerRead == 0 || *end <= *start || *next < *start || *next >= *end ||
        (*next - *start) % state.sectorsPerRead != 0)
        return Problem("its sectors do not make a scan");
    const auto pools = document.find("pools");
    if (pools == document.end() || !pools->is_array() || pools->size() > kScanPoolLimit)
        return Problem("its pool list is not valid");
    for (const Json& item : *pools) {
        auto pool = ReadPool(item);
        if (!pool) return Problem("its pool list is not valid");
        state.pools.push_back(std::move(*pool));
    }
    return {std::move(state), {}};
}

}  // namespace

uint32_t ScanState::percentDone() const {
    return ScanProgressPercent(nextSector - range.startSector, uint64_t{range.endSector} - range.startSector);
}

std::string EncodeScanState(const ScanState& state) {
    nlohmann::ordered_json document;
    document["format"] = kFormat;
    document["kind"] = kKind;
    document["drive"] = state.driveIdentity;
    document["startSector"] = state.range.startSector;
    document["endSector"] = state.range.endSector;
    document["sectorsPerRead"] = state.sectorsPerRead;
    document["nextSector"] = state.nextSector;
    document["pools"] = nlohmann::ordered_json::array();
    for (const PoolEntry& pool : state.pools) {
        nlohmann::ordered_json item;
        item["name"] = Hex(pool.name);
        item["poolSize"] = pool.poolSize;
        item["segmentCount"] = pool.segmentCount;
        item["segmentStart"] = pool.segmentStart;
        item["segmentExtent"] = pool.segmentExtent;
        document["pools"].push_back(std::move(item));
    }
    return document.dump() + "\n";
}

ScanStateRead DecodeScanState(std::string_view text) {
    if (text.size() > kMaxScanStateBytes) return Problem("it is too large");
    const Json document = Json::parse(text, nullptr, false);
    if (document.is_discarded()) return Problem("it is not valid JSON");
    return ReadState(document);
}

}  // namespace lumbra
