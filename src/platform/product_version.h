#pragma once
// The product's name and version as both programs show them (About box, --version).
#include <string_view>

namespace lumbra {

inline constexpr std::string_view kProductName = "Corvalt Lumbra Novell NSS";
inline constexpr std::string_view kProductVersion = "4.03";
inline constexpr std::string_view kProductVersionText = "Corvalt Lumbra Novell NSS Version 4.03";

}  // namespace lumbra
