#pragma once
// The values of "Drive Information" and the line of the About box.
#include <string_view>

#include "app/dialog_values.h"
#include "app/session.h"
#include "platform/product_version.h"

namespace lumbra {

constexpr std::string_view kAboutText = kProductVersionText;

// The value of the row added when the mount was stopped before it ended.
constexpr std::string_view kPartialMountValue = "stopped: partial tree";

DriveInformationValues DriveInformation(const Session& session);

}  // namespace lumbra
