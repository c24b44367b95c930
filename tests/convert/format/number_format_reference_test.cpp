// The number formatter against a plain transcription of its digit algorithm: the estimate of
// the decimal exponent from the binary one, 18 digits rounded to nearest even, the cut with
// rounding half up on the first dropped digit, then the fixed seven decimals.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "convert/format/number_format.h"

namespace log2plt {
namespace {

std::u16string ReferenceSevenDecimals(long double value) {
  const long double magnitude = std::fabs(value);
  std::string digits;
  int exponent = 0;
  if (magnitude >= LDBL_MIN) {
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &magnitude, sizeof bytes);
    const int biased = ((bytes[9] & 0x7F) << 8) | bytes[8];
    exponent = static_cast<int>(std::floor((biased - 16383) * 19728.0 / 65536.0)) + 1;
    long double n = std::nearbyint(magnitude * std::pow(10.0L, 18 - exponent));
    if (n >= 1e18L) {
      n = std::nearbyint(n / 10.0L);
      ++exponent;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%018llu", static_cast<unsigned long long>(n));
    digits.assign(text, 18);
    const int cut = exponent + 7;
    if (cut < 0) {
      digits.clear();
    } else if (cut < 18) {
      const bool up = digits[static_cast<std::size_t>(cut)] >= '5';
      digits.resize(static_cast<std::size_t>(cut));
      if (up) {
        int k = cut - 1;
        while (k >= 0 && digits[static_cast<std::size_t>(k)] == '9')
          digits[static_cast<std::size_t>(k--)] = '0';
        if (k < 0) {
          digits.assign(1, '1');
          ++exponent;
        } else {
          ++digits[static_cast<std::size_t>(k)];
        }
      }
    }
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
  }
  auto digit = [&](int k) {
    return k >= 0 && k < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(k)]
                                                         : '0';
  };
  std::string text;
  if (value < 0 && !digits.empty()) text.push_back('-');
  if (digits.empty()) exponent = 0;
  if (exponent <= 0) text.push_back('0');
  for (int k = 0; k < exponent; ++k) text.push_back(digit(k));
  text.push_back('.');
  for (int k = 0; k < 7; ++k) text.push_back(digit(exponent + k));
  return std::u16string(text.begin(), text.end());
}

TEST(FormatNumberPattern, AgreesWithTheDigitAlgorithmAcrossMagnitudes) {
  std::mt19937_64 random(20261210);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const FormatSettings settings;
  for (int round = 0; round < 200000; ++round) {
    const int decade = static_cast<int>(random() % 26) - 12;  // 1e-12 to 1e13
    long double value = static_cast<long double>(unit(random)) * std::pow(10.0L, decade);
    switch (round % 4) {
      case 1:  // a day value plus a time of day, as the conversion forms them
        value = 40000.0L + static_cast<long double>(random() % 20000) +
                static_cast<long double>(unit(random));
        break;
      case 2:  // just below and above powers of two
        value = std::ldexp(1.0L, decade * 3) * (1.0L + (random() % 2 ? -1 : 1) * LDBL_EPSILON *
                                                           static_cast<long double>(random() % 4));
        break;
      case 3:  // near a rounding boundary of the seventh decimal
        value = std::round(value * 1e7L) / 1e7L + 0.5e-7L;
        break;
    }
    if (random() % 2) value = -value;
    ASSERT_EQ(FormatNumberPattern(u"0.######0", value, settings), ReferenceSevenDecimals(value))
        << static_cast<double>(value);
  }
}

}  // namespace
}  // namespace log2plt
