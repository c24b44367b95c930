#include <cmath>
#include <cstdint>

#include "convert/error.h"
#include "convert/value_format.h"

namespace log2plt {
namespace {

constexpr std::size_t kMaxPatternLength = 224;
constexpr int kSignificantDigits = 18;

struct NumberPattern {
  int integer_zeros = 0;     // 0 placeholders before the point: the least integer digits printed
  int decimals = 0;          // placeholders after the point
  int forced_decimals = 0;   // decimals up to the last 0 after the point, always printed
};

NumberPattern ScanPattern(std::u16string_view pattern) {
  NumberPattern scan;
  bool after_point = false;
  int decimals_seen = 0;
  for (const char16_t c : pattern) {
    if (c == u'.') {
      after_point = true;
    } else if (c == u'0' || c == u'#') {
      if (!after_point) {
        if (c == u'0' || scan.integer_zeros > 0) ++scan.integer_zeros;
      } else {
        ++decimals_seen;
        if (c == u'0') scan.forced_decimals = decimals_seen;
      }
    }
  }
  scan.decimals = decimals_seen;
  return scan;
}

// 10^n with a 64-bit significand; exact up to n = 27.
long double PowerOfTen(int n) {
  long double power = 1.0L;
  long double base = 10.0L;
  for (int k = n < 0 ? -n : n; k != 0; k >>= 1, base *= base) {
    if (k & 1) power *= base;
  }
  return power;
}

// The decimal digits of |value|: value = 0.d1d2...d18 x 10^exponent, rounded to nearest even.
struct DecimalDigits {
  char digits[kSignificantDigits + 1] = {};
  int count = 0;
  int exponent = 0;
};

DecimalDigits DigitsOf(long double magnitude) {
  DecimalDigits result;
  if (!(magnitude >= LDBL_MIN)) return result;  // zero and values too small to be normal
  int binary_exponent;
  std::frexp(magnitude, &binary_exponent);
  // Exponent estimate from the x87 biased exponent b: (b - 16383) is binary_exponent - 1.
  const long long scaled = static_cast<long long>(binary_exponent - 1) * 19728;
  int exponent = static_cast<int>((scaled >= 0 ? scaled : scaled - 65535) / 65536) + 1;
  const int shift = kSignificantDigits - exponent;
  long double n = shift >= 0 ? magnitude * PowerOfTen(shift) : magnitude / PowerOfTen(-shift);
  n = std::nearbyint(n);
  if (n >= 1e18L) {
    n = std::nearbyint(n / 10.0L);
    ++exponent;
  }
  auto integer = static_cast<std::uint64_t>(n);
  for (int k = kSignificantDigits - 1; k >= 0; --k) {
    result.digits[k] = static_cast<char>('0' + integer % 10);
    integer /= 10;
  }
  result.count = kSignificantDigits;
  result.exponent = exponent;
  return result;
}

// Cuts the digit string after `keep` digits, rounding half up on the first dropped digit.
void RoundDigits(DecimalDigits& number, int keep) {
  if (keep < 0) {
    number.count = 0;
    return;
  }
  if (keep >= number.count) return;
  const bool round_up = number.digits[keep] >= '5';
  number.count = keep;
  if (!round_up) return;
  int k = keep - 1;
  while (k >= 0 && number.digits[k] == '9') --k;
  if (k < 0) {
    number.digits[0] = '1';
    number.count = 1;
    ++number.exponent;
    return;
  }
  ++number.digits[k];
  number.count = k + 1;
}

}  // namespace

void AppendNumberPattern(std::u16string& out, std::u16string_view pattern, long double value,
                         const FormatSettings& settings) {
  if (pattern.size() > kMaxPatternLength) throw Error(u"Format string too long");
  const NumberPattern scan = ScanPattern(pattern);
  DecimalDigits number = DigitsOf(std::fabs(value));
  if (number.count > 0) RoundDigits(number, number.exponent + scan.decimals);
  while (number.count > 0 && number.digits[number.count - 1] == '0') --number.count;

  if (value < 0 && number.count > 0) out += u'-';
  const int exponent = number.count > 0 ? number.exponent : 0;
  const int integer_digits = exponent > 0 ? exponent : 0;
  for (int k = integer_digits; k < scan.integer_zeros; ++k) out += u'0';
  for (int k = 0; k < integer_digits; ++k) {
    out += k < number.count ? static_cast<char16_t>(number.digits[k]) : u'0';
  }
  // Fraction digits: the digits after the integer part, after -exponent leading zeros.
  char16_t fraction[64];
  int fraction_length = 0;
  for (int position = 0; position < scan.decimals && position < 64; ++position) {
    const int k = exponent + position;
    fraction[position] = (k >= 0 && k < number.count) ? static_cast<char16_t>(number.digits[k]) : u'0';
    if (fraction[position] != u'0' || position < scan.forced_decimals) {
      fraction_length = position + 1;
    }
  }
  if (fraction_length > 0) {
    out += settings.decimal_separator;
    out.append(fraction, static_cast<std::size_t>(fraction_length));
  }
}

std::u16string FormatNumberPattern(std::u16string_view pattern, long double value,
                                   const FormatSettings& settings) {
  std::u16string out;
  AppendNumberPattern(out, pattern, value, settings);
  return out;
}

std::u16string FormatNumberPattern(std::u16string_view pattern, long double value) {
  return FormatNumberPattern(pattern, value, ProcessFormatSettings());
}

void AppendInteger(std::u16string& out, std::int32_t value) {
  char16_t buffer[12];
  int length = 0;
  std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  do {
    buffer[length++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) out += u'-';
  while (length > 0) out += buffer[--length];
}

std::u16string FormatInteger(std::int32_t value) {
  std::u16string out;
  AppendInteger(out, value);
  return out;
}

}  // namespace log2plt
