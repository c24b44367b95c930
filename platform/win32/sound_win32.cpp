#include <windows.h>

#include "platform/sound.h"

namespace log2plt::platform::sound {

void DefaultBeep() { MessageBeep(0); }

}  // namespace log2plt::platform::sound
