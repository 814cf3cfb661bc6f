#pragma once
// Short interface sounds (a button being entered or clicked). Sounds are named by a file or an
// alias of the desktop; a desktop without sounds simply stays silent.
#include <string>

namespace lumbra {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the sound and returns at once; a sound already playing is cut off.
    virtual void play(const std::string& sound) = 0;
};

// The Linux desktop offers no interface sounds, so the buttons are silent there.
class SilentSoundPlayer final : public SoundPlayer {
public:
    void play(const std::string& sound) override;
};

}  // namespace lumbra
