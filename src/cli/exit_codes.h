#pragma once

namespace lumbra::cli {

// The documented exit codes of lumbra-nss-cli.
constexpr int kExitOk = 0;           // done (an empty result is done too)
constexpr int kExitEnvironment = 1;  // the environment failed: a drive or file could not be read or written, or memory ran out
constexpr int kExitBadInput = 2;     // bad arguments or a bad input file
constexpr int kExitInternal = 3;     // an internal error
constexpr int kExitInterrupted = 130;  // stopped by Ctrl-C after printing what was found until then

}  // namespace lumbra::cli
