#include "convert/text/ansi_text.h"

#include <string>

#include "convert/text/text_codec.h"
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

namespace {

std::optional<AnsiByteTable> MakeAnsiByteTable() {
  AnsiByteTable table{};
  for (int byte = 0; byte < 256; ++byte) {
    const std::u16string unit =
        platform::codepage::DecodeAnsi(std::string(1, static_cast<char>(byte)));
    if (unit.size() != 1) return std::nullopt;
    table[static_cast<std::size_t>(byte)] = unit[0];
  }
  // Every byte after every byte above ASCII: a lead byte of a multi-byte code page joins some
  // byte after it into one character, which the table cannot give.
  std::string pairs;
  std::u16string expected;
  for (int lead = 0x80; lead < 256; ++lead) {
    for (int next = 0; next < 256; ++next) {
      pairs += static_cast<char>(lead);
      pairs += static_cast<char>(next);
      expected += table[static_cast<std::size_t>(lead)];
      expected += table[static_cast<std::size_t>(next)];
    }
  }
  if (platform::codepage::DecodeAnsi(pairs) != expected) return std::nullopt;
  return table;
}

}  // namespace

const std::optional<AnsiByteTable>& AnsiBytesOneByOne() {
  static const std::optional<AnsiByteTable> table = MakeAnsiByteTable();
  return table;
}

}  // namespace log2plt
