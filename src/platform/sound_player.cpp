#include "platform/sound_player.h"

namespace lumbra {

void SilentSoundPlayer::play(const std::string&) {}

}  // namespace lumbra
