#include "convert/format/number_format.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "base/error.h"
#include "convert/format/ascii_append.h"

namespace log2plt {
namespace {

constexpr std::size_t kMaxPatternLength = 224;
constexpr int kSignificantDigits = 18;
constexpr int kMaxDecimalLength = 24;  // the most digits AppendDecimal writes

// Divisions by powers of ten known at compile time become multiplications; the formatter picks
// them from these tables by the cut position and the number of decimals.
template <int kDropped>
std::uint64_t CutRoundingHalfUp(std::uint64_t digits) {
  // Rounding up when the first dropped digit is 5 or more is adding half the divisor.
  constexpr std::uint64_t kDivisor = kPowersOfTen[kDropped];
  return (digits + kDivisor / 2) / kDivisor;
}

template <int kDecimals>
void SplitAtDecimals(std::uint64_t units, std::uint64_t& integer_part, std::uint64_t& fraction) {
  integer_part = units / kPowersOfTen[kDecimals];
  fraction = units % kPowersOfTen[kDecimals];
}

using Cutter = std::uint64_t (*)(std::uint64_t);
using Splitter = void (*)(std::uint64_t, std::uint64_t&, std::uint64_t&);

template <int... kPowers>
constexpr std::array<Cutter, sizeof...(kPowers)> MakeCutters(
    std::integer_sequence<int, kPowers...>) {
  return {&CutRoundingHalfUp<kPowers>...};
}

template <int... kPowers>
constexpr std::array<Splitter, sizeof...(kPowers)> MakeSplitters(
    std::integer_sequence<int, kPowers...>) {
  return {&SplitAtDecimals<kPowers>...};
}

// Index: how many of the 18 digits are dropped (1 to 18; 0 keeps them all).
constexpr auto kCutters = MakeCutters(std::make_integer_sequence<int, kSignificantDigits + 1>{});
constexpr auto kSplitters =
    MakeSplitters(std::make_integer_sequence<int, kSignificantDigits + 1>{});

// 10^n with a 64-bit significand, exact up to n = 27.
long double PowerOfTen(int n) {
  static constexpr long double kExact[] = {
      1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
      1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
      1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L,
  };
  if (n >= 0 && n <= 27) return kExact[n];
  long double power = 1.0L;
  long double base = 10.0L;
  for (int k = n < 0 ? -n : n; k != 0; k >>= 1, base *= base) {
    if (k & 1) power *= base;
  }
  return n < 0 ? 1.0L / power : power;
}

// The biased exponent of the x87 extended format (0 for zero and denormals).
int BiasedExponent(long double value) {
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &value, sizeof(long double));
  return ((bytes[9] & 0x7F) << 8) | bytes[8];
}

// The same for a positive value, read from its nearest double where that has the same binary
// exponent: reading the bytes of an extended value stalls the processor on every call.
int BiasedExponentOfMagnitude(long double magnitude) {
  const auto nearest = static_cast<double>(magnitude);
  std::uint64_t bits;
  std::memcpy(&bits, &nearest, sizeof bits);
  const auto double_exponent = static_cast<int>(bits >> 52);  // the sign bit is clear
  if (double_exponent == 0 || double_exponent == 0x7FF) return BiasedExponent(magnitude);
  int exponent = double_exponent - 1023 + 16383;
  // Rounding to a double can carry a value just below a power of two up to that power.
  constexpr std::uint64_t kFraction = (std::uint64_t{1} << 52) - 1;
  if ((bits & kFraction) == 0 && static_cast<long double>(nearest) > magnitude) --exponent;
  return exponent;
}

// magnitude x 10^shift. Below about 1e-4914 the power itself would leave the range of the
// format, so it is applied in two halves; the product is always near 10^18.
inline long double ScaledByPowerOfTen(long double magnitude, int shift) {
  if (shift > LDBL_MAX_10_EXP) {
    return magnitude * PowerOfTen(shift / 2) * PowerOfTen(shift - shift / 2);
  }
  return shift >= 0 ? magnitude * PowerOfTen(shift) : magnitude / PowerOfTen(-shift);
}

long double RoundToNearestEven(long double value) { return std::nearbyint(value); }

// |value| = 0.d1d2...d18 x 10^exponent, the 18 digits held as one integer. Inline, as is
// ScaledByPowerOfTen: without the word the compiler inlines them into only some of the six
// forms of AppendTo, not always the one that formats every point.
inline DecimalDigits DigitsOf(long double value) {
  DecimalDigits result;
  result.negative = value < 0;
  const long double magnitude = std::fabs(value);
  if (!(magnitude >= LDBL_MIN) || std::isinf(magnitude))
    return result;  // zero, too small, or not finite
  const int biased = BiasedExponentOfMagnitude(magnitude);
  const long long scaled = static_cast<long long>(biased - 16383) * 19728;
  int exponent = static_cast<int>((scaled >= 0 ? scaled : scaled - 65535) / 65536) + 1;
  const int shift = kSignificantDigits - exponent;
  const long double product = ScaledByPowerOfTen(magnitude, shift);
  constexpr std::int64_t kTenPower18 = 1'000'000'000'000'000'000;
  if (product < 9.0e18L) {
    std::int64_t n = std::llrint(product);
    if (n >= kTenPower18) {
      n = std::llrint(static_cast<long double>(n) / 10.0L);
      ++exponent;
    }
    result.digits = static_cast<std::uint64_t>(n);
  } else {
    result.digits =
        static_cast<std::uint64_t>(RoundToNearestEven(RoundToNearestEven(product) / 10.0L));
    ++exponent;
  }
  result.exponent = exponent;
  return result;
}

}  // namespace

NumberPattern::NumberPattern(std::u16string_view pattern) {
  if (pattern.size() > kMaxPatternLength) throw Error(u"Format string too long");
  bool after_point = false;
  for (const char16_t c : pattern) {
    if (c == u'.') {
      after_point = true;
    } else if (c == u'0' || c == u'#') {
      if (!after_point) {
        if (c == u'0' || integer_zeros_ > 0) ++integer_zeros_;
      } else {
        ++decimals_;
        if (c == u'0') forced_decimals_ = decimals_;
      }
    }
  }
  // More decimals than significant digits could never show a digit of the value.
  if (decimals_ > kSignificantDigits) decimals_ = kSignificantDigits;
  if (forced_decimals_ > kSignificantDigits) forced_decimals_ = kSignificantDigits;
}

std::size_t NumberPattern::LongestText(int integer_digits) const {
  // A sign, the integer digits or the pattern's zeros, the separator and the decimals.
  const int digits = std::max(integer_digits, integer_zeros_) + decimals_;
  return 2 + static_cast<std::size_t>(digits);
}

template <class Out>
void NumberPattern::AppendTo(Out& out, long double value, const FormatSettings& settings) const {
  const DecimalDigits number = DigitsOf(value);
  // A sign, the integer digits (zeros beyond the 18th, or the pattern's zeros), the separator
  // and the decimals.
  const std::size_t longest = static_cast<std::size_t>(
      2 + std::max(number.exponent, 0) + integer_zeros_ + kMaxDecimalLength + decimals_);
  auto room = OpenRoom(out, longest);
  AppendInRoom(room, number, value, settings);
  CloseRoom(out, room);
}

template <class Out>
void NumberPattern::AppendInRoom(Out& out, const DecimalDigits& number, long double value,
                                 const FormatSettings& settings) const {
  // The digits are cut after position exponent + decimals, rounding half up on the first dropped
  // digit.
  const int cut = number.exponent + decimals_;
  if (number.digits != 0 && cut >= kSignificantDigits) {
    AppendUncutDigits(out, number, settings);
    return;
  }
  // Below that the kept digits, as one integer, count units of 10^-decimals.
  std::uint64_t units = 0;
  if (number.digits != 0 && cut >= 0) units = kCutters[kSignificantDigits - cut](number.digits);
  AppendRounded(out, units, value < 0, settings);
}

template <class Out>
void NumberPattern::AppendRounded(Out& out, std::uint64_t units, bool negative,
                                  const FormatSettings& settings) const {
  using Char = typename Out::value_type;
  std::uint64_t integer_part, fraction;
  kSplitters[decimals_](units, integer_part, fraction);

  if (negative && units != 0) out += static_cast<Char>('-');
  if (integer_part == 0) {
    for (int k = 0; k < integer_zeros_; ++k) out += static_cast<Char>('0');
  } else {
    AppendDecimal(out, integer_part, integer_zeros_);
  }
  int fraction_digits = decimals_;
  while (fraction_digits > forced_decimals_ && fraction % 10 == 0) {
    fraction /= 10;
    --fraction_digits;
  }
  if (fraction_digits > 0) {
    out += static_cast<Char>(settings.decimal_separator);
    AppendDecimal(out, fraction, fraction_digits);
  }
}

// All 18 digits stand before the cut: the integer part is the first `exponent` digits (zeros
// beyond the 18th), the fraction the digits after them.
template <class Out>
void NumberPattern::AppendUncutDigits(Out& out, const DecimalDigits& number,
                                      const FormatSettings& settings) const {
  using Char = typename Out::value_type;
  char digits[kSignificantDigits];
  std::uint64_t rest = number.digits;
  for (int k = kSignificantDigits - 1; k >= 0; --k, rest /= 10) {
    digits[k] = static_cast<char>('0' + rest % 10);
  }
  auto digit_at = [&](int k) { return k >= 0 && k < kSignificantDigits ? digits[k] : '0'; };
  if (number.negative) out += static_cast<Char>('-');
  if (number.exponent <= 0) {
    for (int k = 0; k < integer_zeros_; ++k) out += static_cast<Char>('0');
  }
  for (int k = 0; k < number.exponent; ++k) out += static_cast<Char>(digit_at(k));
  int fraction_digits = decimals_;
  while (fraction_digits > forced_decimals_ &&
         digit_at(number.exponent + fraction_digits - 1) == '0') {
    --fraction_digits;
  }
  if (fraction_digits > 0) {
    out += static_cast<Char>(settings.decimal_separator);
    for (int k = 0; k < fraction_digits; ++k) {
      out += static_cast<Char>(digit_at(number.exponent + k));
    }
  }
}

// The outputs that the header names.
template void NumberPattern::AppendTo(std::u16string&, long double, const FormatSettings&) const;
template void NumberPattern::AppendTo(std::string&, long double, const FormatSettings&) const;
template void NumberPattern::AppendTo(TextBuffer<char>&, long double, const FormatSettings&) const;
template void NumberPattern::AppendTo(TextBuffer<char16_t>&, long double,
                                      const FormatSettings&) const;
template void NumberPattern::AppendTo(UncheckedText<char>&, long double,
                                      const FormatSettings&) const;
template void NumberPattern::AppendTo(UncheckedText<char16_t>&, long double,
                                      const FormatSettings&) const;
template void NumberPattern::AppendRounded(UncheckedText<char>&, std::uint64_t, bool,
                                           const FormatSettings&) const;
template void NumberPattern::AppendRounded(UncheckedText<char16_t>&, std::uint64_t, bool,
                                           const FormatSettings&) const;

void AppendNumberPattern(std::u16string& out, std::u16string_view pattern, long double value,
                         const FormatSettings& settings) {
  NumberPattern(pattern).AppendTo(out, value, settings);
}

std::u16string FormatNumberPattern(std::u16string_view pattern, long double value,
                                   const FormatSettings& settings) {
  std::u16string out;
  AppendNumberPattern(out, pattern, value, settings);
  return out;
}

void AppendInteger(std::u16string& out, std::int32_t value) {
  if (value < 0) out += u'-';
  const std::uint32_t magnitude =
      value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  AppendDecimal(out, magnitude, 1);
}

std::u16string FormatInteger(std::int32_t value) {
  std::u16string out;
  AppendInteger(out, value);
  return out;
}

}  // namespace log2plt
