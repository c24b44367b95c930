// The ANSI code page on POSIX: chosen by LOG2PLT_CODEPAGE or by the language of the user's
// locale, converted through iconv.

#include <errno.h>
#include <iconv.h>

#include <bit>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/codepage.h"
#include "platform/posix/c_library_handles.h"

namespace log2plt::platform::codepage {
namespace {

static_assert(std::endian::native == std::endian::little, "UTF-16LE is the text's own layout");

unsigned ChooseCodePage() {
  if (const char* value = std::getenv("LOG2PLT_CODEPAGE"); value != nullptr && *value != '\0') {
    char* end = nullptr;
    const unsigned long number = std::strtoul(value, &end, 10);
    if (*end == '\0' && number > 0 && number < 65536) return static_cast<unsigned>(number);
  }
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return CodePageOfLocaleName(value);
  }
  return 1252;
}

std::string IconvName(unsigned code_page) {
  if (code_page == 65001) return "UTF-8";
  if (code_page == 20866) return "KOI8-R";
  if (code_page == 21866) return "KOI8-U";
  if (code_page >= 28591 && code_page <= 28606)
    return "ISO-8859-" + std::to_string(code_page - 28590);
  return "CP" + std::to_string(code_page);
}

// The code page's iconv name; CP1252 when iconv does not know the chosen one.
const std::string& CharsetName() {
  static const std::string name = [] {
    std::string chosen = IconvName(AnsiCodePage());
    return OpenIconv("UTF-16LE", chosen.c_str()) ? chosen : std::string("CP1252");
  }();
  return name;
}

}  // namespace

unsigned AnsiCodePage() {
  static const unsigned code_page = ChooseCodePage();
  return code_page;
}

std::u16string DecodeAnsi(std::string_view bytes) {
  const Iconv converter = OpenIconv("UTF-16LE", CharsetName().c_str());
  std::u16string text(bytes.size() + 1, u'\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  char* out = reinterpret_cast<char*>(text.data());
  std::size_t out_left = text.size() * 2;
  while (in_left > 0) {
    if (out_left < 8) {
      const std::size_t used = text.size() * 2 - out_left;
      text.resize(text.size() + in_left + 8);
      out = reinterpret_cast<char*>(text.data()) + used;
      out_left = text.size() * 2 - used;
    }
    if (iconv(converter.get(), &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1)) {
      break;
    }
    if (errno == E2BIG) continue;
    // A byte the code page leaves undefined passes through as the character of its value.
    const char16_t unit = static_cast<unsigned char>(*in);
    std::memcpy(out, &unit, 2);
    out += 2;
    out_left -= 2;
    ++in;
    --in_left;
    iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
  }
  text.resize(text.size() - out_left / 2);
  return text;
}

void AppendEncodedAnsi(std::string& out_text, std::u16string_view text) {
  static const std::string target = CharsetName() + "//TRANSLIT";
  // Opening a converter costs more than converting a line: the workers of a stream convert many
  // short texts, so each thread keeps its own.
  thread_local const Iconv converter = OpenIconv(target.c_str(), "UTF-16LE");
  iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
  const std::size_t start = out_text.size();
  out_text.resize(start + text.size() + 16);
  char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
  std::size_t in_left = text.size() * 2;
  char* out = out_text.data() + start;
  std::size_t out_left = out_text.size() - start;
  auto grow = [&] {
    const std::size_t used = out_text.size() - out_left;
    out_text.resize(out_text.size() + in_left + 16);
    out = out_text.data() + used;
    out_left = out_text.size() - used;
  };
  while (in_left > 0) {
    if (iconv(converter.get(), &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1)) {
      break;
    }
    if (errno == E2BIG) {
      grow();
      continue;
    }
    // No best fit: the default character, for a whole surrogate pair at once.
    if (out_left < 1) grow();
    *out++ = '?';
    --out_left;
    char16_t units[2] = {};
    std::memcpy(units, in, std::min<std::size_t>(in_left, 4));
    const bool pair = in_left >= 4 && units[0] >= 0xD800 && units[0] <= 0xDBFF &&
                      units[1] >= 0xDC00 && units[1] <= 0xDFFF;
    const std::size_t skip = std::min<std::size_t>(pair ? 4 : 2, in_left);
    in += skip;
    in_left -= skip;
    iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
  }
  out_text.resize(out_text.size() - out_left);
}

}  // namespace log2plt::platform::codepage
