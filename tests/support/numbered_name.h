#pragma once
// Names such as "P7" that tests make by the dozen.
#include <cstdint>
#include <string>

namespace lumbra::test {

// The prefix followed by the number in decimal. Appended rather than summed: GCC 12 misreads
// the sum of a literal and a temporary string in optimised builds (-Wrestrict).
inline std::string NumberedName(std::string prefix, uint64_t number) {
    prefix += std::to_string(number);
    return prefix;
}

}  // namespace lumbra::test
