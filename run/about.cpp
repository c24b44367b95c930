#include "run/about.h"

#include "log2plt_version.h"

namespace log2plt::about {

std::u16string NameAndVersion() { return std::u16string(kProgramName) + u" " + kVersion; }

std::u16string AboutText() {
  return NameAndVersion() + u"\r\n\r\n" + kProgramDescription + u"\r\n\r\n" + kLicenceName +
         u"\r\n" + kCopyright;
}

}  // namespace log2plt::about
