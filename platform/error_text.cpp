#include "platform/error_text.h"

namespace log2plt::platform {

std::u16string TrimSystemErrorText(std::u16string_view text) {
  // The system's text is fetched into a buffer of 256 characters, its terminator included.
  if (text.size() > 255) return {};
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] <= u' ' || text[end - 1] == u'.')) --end;
  return std::u16string(text.substr(0, end));
}

}  // namespace log2plt::platform
