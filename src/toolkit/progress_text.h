#pragma once
// What the self-drawn progress bar fills and writes, from its range and position.
#include <string>

namespace lumbra {

// The filled share of `length` pixels. A position outside the range is held at its ends, and
// an empty range (upper not above lower) fills nothing instead of dividing by zero.
int ProgressFilledLength(int position, int lower, int upper, int length);

// The truncated percentage of the same share.
int ProgressPercent(int position, int lower, int upper);

// The caption when one is set, otherwise the percentage followed by "%".
std::string ProgressText(int position, int lower, int upper, const std::string& caption);

}  // namespace lumbra
