#include "base/utf.h"

#include <gtest/gtest.h>

namespace log2plt {
namespace {

// POSIX names are bytes: whatever they hold must come back byte for byte, and print readably.
TEST(Utf8Escaped, GivesEveryNameItsOwnBytesBack) {
  struct Case {
    std::string bytes;
    std::u16string text;
    std::string printed;
  };
  const Case cases[] = {
      {"caf\xC3\xA9.log", u"caf\u00E9.log", "caf\xC3\xA9.log"},
      {"caf\xE9.log", u"caf\xDCE9.log", "caf\xEF\xBF\xBD.log"},  // Latin-1
      {"\xF0\x9F\x97\xBA\xFF", u"\U0001F5FA\xDCFF", "\xF0\x9F\x97\xBA\xEF\xBF\xBD"},
      // An encoded surrogate, an overlong slash and a truncated sequence: each byte on its own.
      {"\xED\xB2\x80/\xC0\xAF\xE2\x82", u"\xDCED\xDCB2\xDC80/\xDCC0\xDCAF\xDCE2\xDC82",
       "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD/\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FromUtf8Escaped(c.bytes), c.text) << c.bytes;
    EXPECT_EQ(ToUtf8Escaped(c.text), c.bytes) << c.bytes;
    EXPECT_EQ(ToUtf8(c.text), c.printed) << c.bytes;
  }
  // A surrogate that no byte stands for has no bytes of its own.
  EXPECT_EQ(ToUtf8Escaped(u"a\xD800z\xDC7F"), "a\xEF\xBF\xBDz\xEF\xBF\xBD");
}

}  // namespace
}  // namespace log2plt
