#include <string.h>

#include "base/utf.h"
#include "platform/error_text.h"

namespace log2plt::platform {

std::u16string SystemErrorText(unsigned long code) {
  return TrimSystemErrorText(FromUtf8(strerror(static_cast<int>(code))));
}

}  // namespace log2plt::platform
