#pragma once
// Numbers as texts: a pattern such as "0.######0" read once and applied to many values, the
// one-off forms, and integers.

#include <cfloat>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/format/ascii_append.h"
#include "convert/format/format_settings.h"

namespace log2plt {

static_assert(LDBL_MANT_DIG == 64, "extended precision must be the x87 80-bit format");

// |value| = 0.d1d2...d18 x 10^exponent, the 18 digits held as one integer.
struct DecimalDigits {
  std::uint64_t digits = 0;  // 0 for a value without digits
  int exponent = 0;
  bool negative = false;
};

class NumberPattern {
 public:
  // Throws "Format string too long" for a pattern of more than 224 characters.
  explicit NumberPattern(std::u16string_view pattern);

  // Appends the value's text to `out`, one of these (instantiated in number_format.cpp):
  // - std::u16string and TextBuffer<char16_t>;
  // - std::string and TextBuffer<char>, texts of one byte per code unit: the decimal separator
  //   must fit in a byte;
  // - UncheckedText<char> and UncheckedText<char16_t>: into room made beforehand for the longest
  //   text a value can give.
  template <class Out>
  void AppendTo(Out& out, long double value, const FormatSettings& settings) const;
  // Appends a value already rounded to `units` of 10^-Decimals(), into room for its text.
  template <class Out>
  void AppendRounded(Out& out, std::uint64_t units, bool negative,
                     const FormatSettings& settings) const;
  // The longest text of a value of at most `integer_digits` digits before the point.
  std::size_t LongestText(int integer_digits) const;
  int Decimals() const { return decimals_; }
  int ForcedDecimals() const { return forced_decimals_; }
  int IntegerZeros() const { return integer_zeros_; }

 private:
  template <class Out>
  void AppendInRoom(Out& out, const DecimalDigits& number, long double value,
                    const FormatSettings& settings) const;
  template <class Out>
  void AppendUncutDigits(Out& out, const DecimalDigits& number,
                         const FormatSettings& settings) const;

  int integer_zeros_ = 0;    // the least number of integer digits printed
  int decimals_ = 0;         // placeholders after the point
  int forced_decimals_ = 0;  // decimals up to the last 0 after the point, always printed
};

// Writes an extended-precision number by a pattern such as "0.######0"; throws "Format string
// too long" for a pattern of more than 224 characters.
void AppendNumberPattern(std::u16string& out, std::u16string_view pattern, long double value,
                         const FormatSettings& settings);
std::u16string FormatNumberPattern(std::u16string_view pattern, long double value,
                                   const FormatSettings& settings);

void AppendInteger(std::u16string& out, std::int32_t value);
std::u16string FormatInteger(std::int32_t value);

}  // namespace log2plt
