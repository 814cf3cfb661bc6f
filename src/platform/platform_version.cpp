#include "platform/platform_version.h"

namespace lumbra {

bool IsNineXLine(int versionCode) {
    return versionCode >= version_code::kNineX && versionCode <= version_code::kNineX490;
}

int LinuxPlatformVersion::versionCode() const {
    return version_code::kNt51;
}

}  // namespace lumbra
