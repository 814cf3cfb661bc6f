#pragma once
// The values of "Drive Information" and the line of the About box.
#include <string_view>

#include "app/dialog_values.h"
#include "app/session.h"

namespace lumbra {

constexpr std::string_view kAboutText = "Corvalt Lumbra Novell NSS Version 4.03";

DriveInformationValues DriveInformation(const Session& session);

}  // namespace lumbra
