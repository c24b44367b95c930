#include "convert/value_format.h"
#include "platform/sound.h"

namespace log2plt {

void DefaultBeep() { platform::sound::DefaultBeep(); }

}  // namespace log2plt
