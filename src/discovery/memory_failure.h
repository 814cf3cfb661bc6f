#pragma once
// An allocation that failed while the block queue or the recovered tree grew. What was being
// built is then not whole: the front end shows the matching text and ends the program.
#include <cstdint>
#include <string_view>

namespace lumbra {

enum class MemoryFailure : uint8_t { None, Record, QueueEntry };

constexpr std::string_view kRecordMemoryText = "Out of memory, close other applications and run again";
constexpr std::string_view kQueueMemoryText =
    "Memory Allocation Error. \r\nPlease close other applications and run again.";

constexpr std::string_view MemoryFailureText(MemoryFailure failure) {
    return failure == MemoryFailure::QueueEntry ? kQueueMemoryText : kRecordMemoryText;
}

}  // namespace lumbra
