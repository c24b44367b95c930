#include "convert/text/text_codec.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "base/error.h"
#include "base/utf.h"
#include "platform/codepage.h"

namespace log2plt {
namespace {

template <class Text>
void Normalise(Text& text) {
  using Char = typename Text::value_type;
  if (const std::size_t nul = text.find(Char(0)); nul != Text::npos) text.resize(nul);
  const std::size_t n = text.size();
  if (n == 0) return;
  const Char* p = text.data();
  // Most files hold CR LF breaks only; this test of every neighbouring pair vectorises, so they
  // cost one fast pass. A CR without its LF, or an LF without its CR, differ in the test.
  unsigned char lone_break = p[0] == Char('\n') || p[n - 1] == Char('\r');
  for (std::size_t block = 0; block + 1 < n && !lone_break; block += 4096) {
    const std::size_t end = std::min(block + 4096, n - 1);
    for (std::size_t i = block; i < end; ++i) {
      lone_break |= static_cast<unsigned char>((p[i] == Char('\r')) ^ (p[i + 1] == Char('\n')));
    }
  }
  if (!lone_break) return;

  std::size_t breaks = 0;
  std::size_t pairs = 0;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    breaks += (p[i] == Char('\r')) + (p[i] == Char('\n'));
    pairs += (p[i] == Char('\r')) & (p[i + 1] == Char('\n'));
  }
  breaks += (p[n - 1] == Char('\r')) + (p[n - 1] == Char('\n'));
  const std::size_t lone = breaks - 2 * pairs;
  if (lone == 0) return;

  Text out(n + lone, Char(0));
  Char* q = out.data();
  for (std::size_t i = 0; i < n; ++i) {
    const Char c = p[i];
    if (c == Char('\r')) {
      *q++ = Char('\r');
      *q++ = Char('\n');
      if (i + 1 < n && p[i + 1] == Char('\n')) ++i;
    } else if (c == Char('\n')) {
      *q++ = Char('\r');
      *q++ = Char('\n');
    } else {
      *q++ = c;
    }
  }
  text = std::move(out);
}

std::u16string DecodeUtf16(std::string_view bytes, bool little_endian) {
  std::u16string text(bytes.size() / 2, u'\0');
  const int low = little_endian ? 0 : 1;
  for (std::size_t k = 0; k < text.size(); ++k) {
    text[k] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * k + low]) |
                                    static_cast<unsigned char>(bytes[2 * k + 1 - low]) << 8);
  }
  return text;
}

void AssignDecoded(LineList& list, std::string bytes) {
  const EncodingSignature signature = DetectEncoding(bytes);
  const std::string_view body = std::string_view(bytes).substr(signature.length);
  std::u16string text;
  switch (signature.encoding) {
    case TextEncoding::kUtf16Le:
    case TextEncoding::kUtf16Be:
      text = DecodeUtf16(body, signature.encoding == TextEncoding::kUtf16Le);
      break;
    case TextEncoding::kUtf8:
    case TextEncoding::kAnsi:
      // ASCII reads the same in UTF-8 and in every ANSI code page.
      if (IsAscii(body)) {
        bytes.erase(0, signature.length);
        NormaliseLineBreaks(bytes);
        list.AssignNarrowText(std::move(bytes));
        return;
      }
      if (signature.encoding == TextEncoding::kUtf8) {
        if (auto decoded = DecodeUtf8Strict(body)) text = std::move(*decoded);
      } else {
        text = platform::codepage::DecodeAnsi(body);
      }
      break;
  }
  bytes = std::string();
  NormaliseLineBreaks(text);
  list.AssignText(std::move(text));
}

}  // namespace

EncodingSignature DetectEncoding(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return {TextEncoding::kUtf16Le, 2};
  if (bytes.starts_with("\xFE\xFF")) return {TextEncoding::kUtf16Be, 2};
  if (bytes.starts_with("\xEF\xBB\xBF")) return {TextEncoding::kUtf8, 3};
  return {TextEncoding::kAnsi, 0};
}

bool IsAscii(std::string_view bytes) noexcept {
  unsigned char any = 0;
  for (const char c : bytes) any |= static_cast<unsigned char>(c);
  return any < 0x80;
}

void NormaliseLineBreaks(std::string& text) { Normalise(text); }
void NormaliseLineBreaks(std::u16string& text) { Normalise(text); }

void AssignFileBytes(LineList& list, std::string bytes) {
  try {
    AssignDecoded(list, std::move(bytes));
  } catch (const std::bad_alloc&) {
    throw Error(u"Text exceeds memo capacity");
  } catch (const std::length_error&) {
    throw Error(u"Text exceeds memo capacity");
  }
}

}  // namespace log2plt
