#pragma once

namespace lumbra {

// How the source drives are read, fixed once at start-up: `N` reads the operating system's
// device files (block devices and image files here), `F` hands each read to the BIOS disk
// libraries.
enum class AccessMode : char { N = 'N', F = 'F' };

// The mode of this platform: the device-file back-end.
constexpr AccessMode DefaultAccessMode() { return AccessMode::N; }

}  // namespace lumbra
