#pragma once
// The recovery snapshot file (".QVDX"): everything the wizard learned about one mounted
// volume, so that a later run goes straight to the browse step. Little-endian, no padding;
// names are 8-bit text preceded by their length. docs/format/snapshot.md has the table.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumbra::snapshot_format {

constexpr std::string_view kTag = "qvd4.03";   // offset 0, compared ignoring case
constexpr std::string_view kVersion = "1.0";   // offset 7, compared ignoring case
constexpr size_t kHeaderSize = 10;

// Bounds of the fields; a file beyond them is refused as a whole.
constexpr uint32_t kMaxPoolNameLength = 19;
constexpr uint32_t kMaxSegments = 50;
constexpr uint32_t kMaxVolumeNameLength = 49;
constexpr size_t kRecordFixedBytes = 48;        // R = name length + 48
constexpr size_t kMaxRecordNameLength = 255;

// After the file records, newer snapshots keep a tail: kTailTag, its length (4), then flags (2),
// the count of tree block digests (2) and per block its disk sector (8) and SHA-256 (32). Older
// snapshots end with the file records and load as before.
constexpr std::string_view kTailTag = "LNSXTAIL";
constexpr uint32_t kMaxTailLength = 4096;
constexpr uint16_t kPartialFlag = 1;
constexpr uint16_t kMaxTreeSample = 16;
constexpr size_t kTreeDigestBytes = 8 + 32;

constexpr std::string_view kExtension = ".QVDX";

constexpr std::string_view kUnableToSaveText = "Unable to save the recovery snapshot.";
constexpr std::string_view kInvalidTagText = "    Invalid version of the file found : ";
constexpr std::string_view kVersionMismatchText =
    "              version of file does not match with current version 1.0";
constexpr std::string_view kUnableToOpenText = "Unable to open the recovery snapshot.";
constexpr std::string_view kDamagedText = "The recovery snapshot is damaged or incomplete and was not loaded.";

}  // namespace lumbra::snapshot_format
