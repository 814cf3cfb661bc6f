#include "app/user_guide.h"

#include <filesystem>

// The installation sets the way from the program's folder to the guide; this is the one of a
// prefix whose programs lie in lib/lumbra-nss.
#ifndef LUMBRA_GUIDE_FROM_PROGRAM
#define LUMBRA_GUIDE_FROM_PROGRAM "../../share/doc/lumbra-nss/guide/index.html"
#endif

namespace lumbra {

std::string UserGuidePath(const std::string& applicationDirectory) {
    return (std::filesystem::path(applicationDirectory) / LUMBRA_GUIDE_FROM_PROGRAM).lexically_normal().string();
}

}  // namespace lumbra
