#pragma once
// A JSON manifest of a built image: its pools and segments, and per volume every file that a
// volume-based mount should find (path, size, blocks, SHA-256 of the bytes an extraction reads)
// and the files it should not find because their records were damaged or refused.
#include <ostream>

#include "support/nss_image.h"

namespace lumbra::test {

void writeManifest(const NssImage& image, std::ostream& out);

}  // namespace lumbra::test
