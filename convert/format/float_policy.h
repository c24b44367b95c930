#pragma once
// The floating-point policy: a 64-bit significand, rounding to nearest with ties to even, and
// invalid operations, divisions by zero and overflows ending the running operation with an error.
//
// The conditions are tested explicitly where they can arise, so the x87 unit runs with every
// exception masked; what must hold on every thread is the precision and rounding control.

#include <cstdint>

namespace log2plt {

// The x87 control word in force: the policy's word with the three traps masked.
inline constexpr std::uint16_t kPolicyControlWord = 0x1332 | 0x000D;

// Puts the policy's control word in force on the calling thread; every thread calls it first.
void ApplyFloatingPointPolicy();
std::uint16_t CurrentX87ControlWord();

// dividend / divisor with a 64-bit significand; throws "Floating point division by zero" for a
// non-zero dividend over zero and "Invalid floating point operation" for zero over zero.
long double DivideExtended(long double dividend, long double divisor);

[[noreturn]] void ThrowInvalidOperation();
[[noreturn]] void ThrowOverflow();

}  // namespace log2plt
