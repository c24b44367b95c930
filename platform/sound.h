#pragma once

namespace log2plt::platform::sound {

// The system's default sound; nothing waits for it and a failure is ignored.
void DefaultBeep();

}  // namespace log2plt::platform::sound
