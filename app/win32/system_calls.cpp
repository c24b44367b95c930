#include "app/win32/system_calls.h"

namespace log2plt::win32 {

SystemCalls& System() {
  static SystemCalls calls;
  return calls;
}

}  // namespace log2plt::win32
