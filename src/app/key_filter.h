#pragma once
// The keys the main window hands to the wizard before its normal dispatch.
#include <cstdint>

namespace lumbra {

enum class Key : uint8_t { F1, Tab, Enter, Escape, ContextMenu, F2, Other };

// What the main window does with the key afterwards.
enum class KeyAction : uint8_t {
    Consumed,     // the wizard handled (or deliberately ignored) it
    ToEditField,  // a list item's name is being edited: the edit field gets the key
    Default,      // normal handling, e.g. Tab moving between controls
};

}  // namespace lumbra
