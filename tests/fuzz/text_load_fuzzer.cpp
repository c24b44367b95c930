// The loader on any file: the bytes become the text of a line list that held other lines before.
// The text has CR LF as its only break and no NUL; its lines and count follow from those breaks;
// it is the file's text by the signature's encoding, cut at the first NUL; and it saves in the
// ANSI code page again.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/utf.h"
#include "convert/format/float_policy.h"
#include "convert/text/line_list.h"
#include "convert/text/text_codec.h"
#include "fuzz_input.h"
#include "platform/codepage.h"

namespace log2plt::fuzz {
namespace {

// The text cut at its first NUL, every lone CR and lone LF made CR LF, written plainly.
template <class Text>
Text Normalised(Text text) {
  using Char = typename Text::value_type;
  if (const auto nul = text.find(Char(0)); nul != Text::npos) text.resize(nul);
  Text out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == Char('\r') || text[k] == Char('\n')) {
      out += Char('\r');
      out += Char('\n');
      if (text[k] == Char('\r') && k + 1 < text.size() && text[k + 1] == Char('\n')) ++k;
    } else {
      out += text[k];
    }
  }
  return out;
}

std::u16string Utf16Units(std::string_view body, bool little_endian) {
  std::u16string units;
  for (std::size_t k = 0; k + 1 < body.size(); k += 2) {
    const auto first = static_cast<unsigned char>(body[k]);
    const auto second = static_cast<unsigned char>(body[k + 1]);
    units += static_cast<char16_t>(little_endian ? first | second << 8 : first << 8 | second);
  }
  return units;
}

bool IsAsciiText(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The lines and the count as the breaks of the text give them.
void CheckLines(const LineList& list, const std::u16string& text) {
  bool any_wide = false;
  for (std::size_t k = 0; k < text.size(); ++k) {
    Check(text[k] != u'\0', "the text holds no NUL");
    if (text[k] == u'\r') Check(k + 1 < text.size() && text[k + 1] == u'\n', "a CR has its LF");
    if (text[k] == u'\n') Check(k > 0 && text[k - 1] == u'\r', "an LF has its CR");
    any_wide |= text[k] > 0xFF;
  }
  Check(list.IsWide() == any_wide, "the list is wide exactly when a unit needs it");

  int count = 0;
  for (std::size_t begin = 0; begin < text.size(); ++count) {
    std::size_t end = text.find(u"\r\n", begin);
    if (end == std::u16string::npos) end = text.size();
    const std::u16string expected = text.substr(begin, std::min(end - begin, kLineReadLimit));
    Check(LineAt(list, count) == expected, "a line is the text between two breaks", expected);
    begin = end + 2;
  }
  Check(LineCount(list) == count, "the count is the number of breaks, and one for an open end");
  Check(LineAt(list, -1).empty() && LineAt(list, count).empty(), "outside the list is empty");
}

void CheckDecoded(std::string_view bytes, const std::u16string& text) {
  const EncodingSignature signature = DetectEncoding(bytes);
  const std::string_view body = bytes.substr(signature.length);
  switch (signature.encoding) {
    case TextEncoding::kUtf16Le:
    case TextEncoding::kUtf16Be:
      Check(text == Normalised(Utf16Units(body, signature.encoding == TextEncoding::kUtf16Le)),
            "UTF-16 text is its code units");
      return;
    case TextEncoding::kUtf8:
    case TextEncoding::kAnsi:
      if (IsAsciiText(body)) {
        const std::string expected = Normalised(std::string(body));
        Check(text == std::u16string(expected.begin(), expected.end()), "ASCII text is its bytes");
      } else if (signature.encoding == TextEncoding::kUtf8 && !text.empty()) {
        Check(ToUtf8(text) == Normalised(std::string(body)), "UTF-8 text is its characters");
      }
      return;
  }
}

// What the save does with the text: ASCII stays as it is.
void CheckEncoded(const std::u16string& text) {
  std::string bytes;
  platform::codepage::AppendEncodedAnsi(bytes, text);
  bool ascii = true;
  for (const char16_t c : text) ascii &= c < 0x80;
  if (ascii) Check(bytes == std::string(text.begin(), text.end()), "ASCII saves as itself");
}

}  // namespace
}  // namespace log2plt::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  log2plt::ApplyFloatingPointPolicy();
  // A Russian user's code page, unless the run chooses another.
  setenv("LOG2PLT_CODEPAGE", "1251", 0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace log2plt;
  using namespace log2plt::fuzz;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  LineList list(u"old\r\nlines\r\n\u044f");
  (void)LineCount(list);  // the old text's line starts must not outlive it
  AssignFileBytes(list, bytes);
  const std::u16string text = list.Text();
  CheckLines(list, text);
  CheckDecoded(bytes, text);
  CheckEncoded(text);
  return 0;
}
