#pragma once
// Recovered names become file names on the destination disk. On-disk names are 8-bit text read
// as Latin-1 and may hold anything a damaged record holds; the destination is a Linux file
// system where "/" separates folders and "." and ".." name other folders.
#include <string>
#include <string_view>

namespace lumbra {

// Longest file name the destination takes, in bytes of UTF-8 (NAME_MAX on Linux).
constexpr size_t kMaxDestinationNameBytes = 255;

// The UTF-8 file name for an 8-bit recovered name: Latin-1 converted to UTF-8; path
// separators ("/" and "\"), control characters and NUL replaced by "_"; "", "." and ".."
// replaced by "_", "_." and "_.."; cut to kMaxDestinationNameBytes at a character boundary,
// keeping a short extension. The result always names an entry directly inside its folder.
std::string SafeFileName(std::string_view name8Bit);

// The same for a name in full (UTF-8): control characters (C0, DEL, C1) and bytes that are not
// well-formed UTF-8 are replaced by "_" as well.
std::string SafeFullFileName(std::string_view utf8);

}  // namespace lumbra
