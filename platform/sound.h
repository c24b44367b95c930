#pragma once
// The system's sounds, such as the beep that ends a successful conversion.

namespace log2plt::platform::sound {

// The system's default sound; nothing waits for it and a failure is ignored.
void DefaultBeep();

}  // namespace log2plt::platform::sound
