#include "platform/sound.h"

namespace log2plt::platform::sound {

// The command line has no sound; a desktop front-end brings its own beep.
void DefaultBeep() {}

}  // namespace log2plt::platform::sound
