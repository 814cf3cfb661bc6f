#pragma once
// How long a Qt test waits for an event it expects (a step reached, a search ended, a file
// opened). It only guards against an event that never comes: on a loaded machine a sanitized
// build may need many seconds for what takes a moment alone, so the limit is far beyond any
// real duration, and the test's own CTest timeout still ends a hang.
namespace lumbra::test {

constexpr int kEventLimitMs = 120000;

}  // namespace lumbra::test
