#include "convert/format/float_policy.h"

#include <cfenv>
#include <cmath>

#include "base/error.h"

namespace log2plt {

// Both C libraries we build with (glibc and MinGW-w64) keep the x87 control word in the
// __control_word field of fenv_t, and fesetenv loads it.
void ApplyFloatingPointPolicy() {
  std::fenv_t environment;
  std::fegetenv(&environment);
  environment.__control_word = kPolicyControlWord;
  std::fesetenv(&environment);
}

std::uint16_t CurrentX87ControlWord() {
  std::fenv_t environment;
  std::fegetenv(&environment);
  // fegetenv may mask exceptions as a side effect; put the environment back as it was.
  std::fesetenv(&environment);
  return environment.__control_word;
}

[[noreturn]] void ThrowInvalidOperation() { throw Error(u"Invalid floating point operation"); }
[[noreturn]] void ThrowOverflow() { throw Error(u"Floating point overflow"); }

long double DivideExtended(long double dividend, long double divisor) {
  if (divisor == 0.0L) {
    if (dividend == 0.0L || std::isnan(dividend)) ThrowInvalidOperation();
    throw Error(u"Floating point division by zero");
  }
  const long double quotient = dividend / divisor;
  if (std::isinf(quotient) && !std::isinf(dividend)) ThrowOverflow();
  return quotient;
}

}  // namespace log2plt
