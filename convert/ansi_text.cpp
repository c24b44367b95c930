#include "convert/ansi_text.h"

#include "convert/text_codec.h"
#include "platform/codepage.h"

namespace log2plt {

void AppendAnsiBytes(std::string& out, std::string_view units) {
  if (IsAscii(units)) {
    out.append(units);
    return;
  }
  std::u16string wide(units.size(), u'\0');
  for (std::size_t k = 0; k < units.size(); ++k) {
    wide[k] = static_cast<char16_t>(static_cast<unsigned char>(units[k]));
  }
  platform::codepage::AppendEncodedAnsi(out, wide);
}

void AppendAnsiBytes(std::string& out, std::u16string_view text) {
  platform::codepage::AppendEncodedAnsi(out, text);
}

}  // namespace log2plt
